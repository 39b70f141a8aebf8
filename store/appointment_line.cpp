#include "store/appointment_line.h"

#include "common/zeitwache_error.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace zw::line {

namespace {
constexpr std::array<std::string_view, 6> kWords = {kRepeatNone,    kRepeatHourly,  kRepeatDaily,
                                                    kRepeatWeekly,  kRepeatMonthly, kRepeatYearly};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
int digit(char c) { return c - '0'; }

std::string threeDigits(size_t n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03zu", n);
    return buf;
}

// The common case, "dd.mm.yyyy" exactly, without the general scanner.
std::optional<Date> fastDate(std::string_view f)
{
    if (f.size() != 10 || f[2] != '.' || f[5] != '.')
        return std::nullopt;
    for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 9u})
        if (!isDigit(f[i]))
            return std::nullopt;
    Date d{digit(f[6]) * 1000 + digit(f[7]) * 100 + digit(f[8]) * 10 + digit(f[9]),
           digit(f[3]) * 10 + digit(f[4]), digit(f[0]) * 10 + digit(f[1])};
    return isValidDate(d) ? std::optional<Date>(d) : std::nullopt;
}

// "hh:nn" exactly, or five blanks.
std::optional<int> fastTime(std::string_view f)
{
    if (f == "     ")
        return 0;
    if (f.size() != 5 || f[2] != ':' || !isDigit(f[0]) || !isDigit(f[1]) || !isDigit(f[3]) || !isDigit(f[4]))
        return std::nullopt;
    int h = digit(f[0]) * 10 + digit(f[1]);
    int m = digit(f[3]) * 10 + digit(f[4]);
    if (h > 23 || m > 59)
        return std::nullopt;
    return h * 60 + m;
}

std::optional<Date> anyDate(std::string_view f, int currentYear)
{
    if (auto d = fastDate(f))
        return d;
    return parseGermanDate(f, currentYear);
}

std::optional<int> anyTime(std::string_view f)
{
    if (auto t = fastTime(f))
        return t;
    if (f.find_first_not_of(' ') == std::string_view::npos && !f.empty())
        return 0;
    auto t = parseTime(f);
    if (!t)
        return std::nullopt;
    return t->hour * 60 + t->minute;
}

size_t readLength(std::string_view line, size_t pos)
{
    if (const std::optional<size_t> value = lengthAt(line, pos))
        return *value;
    throw errors::invalidInteger(slice(line, pos, 3));
}
} // namespace

std::optional<size_t> lengthAt(std::string_view line, size_t pos)
{
    std::string_view f = slice(line, pos, 3);
    size_t i = 0;
    while (i < f.size() && f[i] == ' ')
        ++i;
    if (i == f.size())
        return std::nullopt;
    size_t value = 0;
    for (; i < f.size(); ++i) {
        if (!isDigit(f[i]))
            return std::nullopt;
        value = value * 10 + static_cast<size_t>(digit(f[i]));
    }
    return value;
}

std::string_view repeatWord(RepeatKind kind) { return kWords[static_cast<size_t>(kind)]; }

std::optional<RepeatKind> repeatKindOf(std::string_view word)
{
    for (size_t i = 0; i < kWords.size(); ++i)
        if (kWords[i] == word)
            return static_cast<RepeatKind>(i);
    return std::nullopt;
}

std::string compose(const Appointment& a, int currentYear)
{
    return compose(a, currentYear, repeatWord(a.repeat));
}

std::string compose(const Appointment& a, int currentYear, std::string_view repeat)
{
    constexpr std::string_view kLineBreaks("\r\n\0", 3);
    Date date = a.date;
    if (date.year >= 0 && date.year < 100)
        date.year += currentYear / 100 * 100;
    if (!isValidDate(date))
        throw std::invalid_argument("date outside the years 1 to 9999");
    if (a.time && (a.time->hour < 0 || a.time->hour > 23 || a.time->minute < 0 || a.time->minute > 59))
        throw std::invalid_argument("time outside the day");
    if (a.message.size() > kMaxTextLength || a.application.size() > kMaxTextLength ||
        a.sound.size() > kMaxTextLength)
        throw std::invalid_argument("text longer than 999 bytes");
    // A line end inside a text would split the line in the file; byte 0 would end the file.
    for (const std::string* text : {&a.message, &a.application, &a.sound})
        if (text->find_first_of(kLineBreaks) != std::string::npos)
            throw std::invalid_argument("line end or byte 0 in a text");

    if (repeat.size() != kRepeatNone.size() || repeat.find_first_of(kLineBreaks) != std::string_view::npos)
        throw std::invalid_argument("repeat word that does not fit its field");

    std::string out;
    out.reserve(68 + a.message.size() + a.application.size() + a.sound.size());
    out += '[';
    out += formatDate(date);
    out += ' ';
    out += a.time ? formatHourMinute(a.time->hour, a.time->minute) : std::string("     ");
    out += "] [";
    out += repeat;
    out += "] [";
    out += a.active ? kActive : kInactive;
    out += "] [";
    out += a.showIfExpired ? '1' : '0';
    out += '0'; // a stored appointment has not been carried out yet
    out += a.deleteAfterExecution ? '1' : '0';
    out += "0000] [";
    out += threeDigits(a.message.size()) + ' ' + threeDigits(a.application.size()) + ' ' +
           threeDigits(a.sound.size());
    out += "] [";
    out += a.message + ' ' + a.application + ' ' + a.sound;
    out += ']';
    return out;
}

std::string_view slice(std::string_view line, size_t pos, size_t len)
{
    if (pos == 0 || pos > line.size())
        return {};
    return line.substr(pos - 1, len);
}

char flag(std::string_view line, int k)
{
    auto pos = static_cast<size_t>(41 + k);
    return pos <= line.size() ? line[pos - 1] : '\0';
}

Date readDate(std::string_view line, int currentYear)
{
    auto f = dateField(line);
    if (auto d = anyDate(f, currentYear))
        return *d;
    throw errors::invalidDate(f);
}

int readTimeMinutes(std::string_view line)
{
    auto f = timeField(line);
    if (auto t = anyTime(f))
        return *t;
    throw errors::invalidTime(f);
}

int64_t readDateTimeValue(std::string_view line, int currentYear)
{
    auto f = dateTimeField(line);
    std::optional<Date> d;
    std::optional<int> t;
    if (f.size() == 16 && f[10] == ' ') {
        d = anyDate(f.substr(0, 10), currentYear);
        t = anyTime(f.substr(11));
    } else {
        // Not the stored form: a date, then optionally a time after the blank that ends it.
        size_t start = f.find_first_not_of(' ');
        size_t blank = start == std::string_view::npos ? std::string_view::npos : f.find(' ', start);
        std::string_view rest = blank == std::string_view::npos ? std::string_view{} : f.substr(blank);
        d = anyDate(f.substr(0, blank), currentYear);
        t = rest.find_first_not_of(' ') == std::string_view::npos ? std::optional<int>(0) : anyTime(rest);
    }
    if (!d || !t)
        throw errors::invalidDateTime(f);
    return dayNumber(*d) * 1440 + *t;
}

Texts readTexts(std::string_view line)
{
    size_t l1 = readLength(line, 52);
    size_t l2 = readLength(line, 56);
    size_t l3 = readLength(line, 60);
    return {slice(line, 66, l1), slice(line, 67 + l1, l2), slice(line, 68 + l1 + l2, l3)};
}

void setFlag(std::string& line, int k, char value)
{
    auto pos = static_cast<size_t>(41 + k);
    if (pos <= line.size())
        line[pos - 1] = value;
}

} // namespace zw::line
