#include "store/appointment_line.h"

#include "common/zeitwache_error.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

// Positions (0-based) of the written layout that the fast reader relies on.
constexpr size_t kLengthsAt = 51;
constexpr size_t kTextsAt = 65;

// Eight bytes at p, the first in the lowest byte.
uint64_t load8(const char* p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Whether every byte that `mask` selects (0xFF there) is a digit.
bool digitsUnder(uint64_t v, uint64_t mask)
{
    constexpr uint64_t kHigh = 0xF0F0F0F0F0F0F0F0, kZeros = 0x3030303030303030, kSix = 0x0606060606060606;
    return ((v & kHigh & mask) == (kZeros & mask)) && (((v + kSix) & kHigh & mask) == (kZeros & mask));
}

// The three texts for the three lengths; lengths beyond the end of the line give shorter texts.
Texts textsOf(std::string_view line, size_t l1, size_t l2, size_t l3)
{
    return {slice(line, 66, l1), slice(line, 67 + l1, l2), slice(line, 68 + l1 + l2, l3)};
}

// A line exactly as compose writes it, read straight from its positions: the minute's
// check reads every line, and this is nearly all it does. False for any other line, which
// the field readers then read; for the lines it takes, the values are theirs.
bool readWrittenLayout(std::string_view l, CheckFields& f)
{
    if (l.size() < kTextsAt)
        return false;
    const char* p = l.data();
    // "dd.mm.yy" from position 2, "yy hh:mm" from position 10, the lengths "nnn nnn nnn"
    // from position 52 in two overlapping pieces; each mask picks the digits.
    const uint64_t dayMonth = load8(p + 1);
    const uint64_t yearTime = load8(p + 9);
    const uint64_t lengths1 = load8(p + kLengthsAt);
    const uint64_t lengths2 = load8(p + kLengthsAt + 3);
    const bool noTime = std::string_view(p + 12, 5) == "     ";
    if (!digitsUnder(dayMonth, 0xFFFF00FFFF00FFFF) || p[3] != '.' || p[6] != '.' ||
        !digitsUnder(yearTime, noTime ? 0x000000000000FFFF : 0xFFFF00FFFF00FFFF) ||
        !digitsUnder(lengths1, 0x00FFFFFF00FFFFFF) || !digitsUnder(lengths2, 0xFFFFFF0000000000))
        return false;
    auto d = [p](size_t i) { return p[i] - '0'; };
    const Date date{d(7) * 1000 + d(8) * 100 + d(9) * 10 + d(10), d(4) * 10 + d(5), d(1) * 10 + d(2)};
    if (!isValidDate(date))
        return false;
    int minutes = 0;
    if (!noTime) {
        const int hour = d(12) * 10 + d(13);
        const int minute = d(15) * 10 + d(16);
        if (p[14] != ':' || hour > 23 || minute > 59)
            return false;
        minutes = hour * 60 + minute;
    }
    auto length = [&d](size_t at) { return static_cast<size_t>(d(at) * 100 + d(at + 1) * 10 + d(at + 2)); };
    f.date = date;
    f.minutes = minutes;
    f.texts = textsOf(l, length(kLengthsAt), length(kLengthsAt + 4), length(kLengthsAt + 8));
    f.written = true;
    return true;
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
    const size_t l1 = readLength(line, 52);
    const size_t l2 = readLength(line, 56);
    const size_t l3 = readLength(line, 60);
    return textsOf(line, l1, l2, l3);
}

CheckFields readCheckFields(std::string_view l, int currentYear)
{
    CheckFields f;
    if (!readWrittenLayout(l, f)) {
        f.date = readDate(l, currentYear);
        f.minutes = readTimeMinutes(l);
        f.texts = readTexts(l);
    }
    f.repeat = repeatField(l);
    f.active = activeField(l) == kActive;
    f.showIfExpired = flag(l, kShowIfExpired);
    f.executed = flag(l, kExecuted);
    f.deleteAfterExecution = flag(l, kDeleteAfterExecution);
    return f;
}

void setFlag(std::string& line, int k, char value)
{
    auto pos = static_cast<size_t>(41 + k);
    if (pos <= line.size())
        line[pos - 1] = value;
}

} // namespace zw::line
