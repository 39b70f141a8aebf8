// Feeds arbitrary bytes, taken as one appointment line, to the line's readers and writer.
// A line laid out as the program writes it must read into values that compose back to the
// same bytes (up to what the layout reads loosely: flags and "Ja  " are read as yes or no,
// lengths may carry leading blanks); the combined date-and-time reader must agree with the
// date and the time readers; a line of the older layout must convert into a current one
// that reads the same texts. A ZeitwacheError is the answer to a damaged line.
#include "fuzz_support.h"

#include "common/civil_time.h"
#include "common/zeitwache_error.h"
#include "store/appointment_line.h"
#include "store/conversion.h"
#include "store/data_file.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zw;

constexpr int kCurrentYear = 2026;
constexpr std::string_view kLineBreaks("\r\n\0", 3);

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool digitsAt(std::string_view l, size_t at, size_t count)
{
    if (at + count > l.size())
        return false;
    for (size_t i = at; i < at + count; ++i)
        if (!isDigit(l[i]))
            return false;
    return true;
}

bool textAt(std::string_view l, size_t at, std::string_view text) { return l.substr(at, text.size()) == text; }

std::optional<Date> readDateOrNothing(std::string_view l, int year)
{
    try {
        return line::readDate(l, year);
    } catch (const ZeitwacheError&) {
        return std::nullopt;
    }
}

std::optional<int> readTimeOrNothing(std::string_view l)
{
    try {
        return line::readTimeMinutes(l);
    } catch (const ZeitwacheError&) {
        return std::nullopt;
    }
}

std::optional<line::Texts> readTextsOrNothing(std::string_view l)
{
    try {
        return line::readTexts(l);
    } catch (const ZeitwacheError&) {
        return std::nullopt;
    }
}

// The date and time readers of one field, against the reader of both at once.
void checkDateTimeValue(std::string_view l)
{
    for (int year : {kCurrentYear, 1999, 9999}) {
        const std::optional<Date> date = readDateOrNothing(l, year);
        const std::optional<int> minutes = readTimeOrNothing(l);
        if (date)
            FUZZ_CHECK(isValidDate(*date));
        if (minutes)
            FUZZ_CHECK(*minutes >= 0 && *minutes < 1440);
        std::optional<int64_t> value;
        try {
            value = line::readDateTimeValue(l, year);
        } catch (const ZeitwacheError&) {
        }
        if (value)
            FUZZ_CHECK(*value >= dayNumber({1, 1, 1}) * 1440 && *value <= dayNumber({9999, 12, 31}) * 1440 + 1439);
        // In the stored form both readers look at the very bytes the combined one does.
        if (l.size() >= 17 && l[11] == ' ') {
            FUZZ_CHECK(value.has_value() == (date && minutes));
            if (value)
                FUZZ_CHECK(*value == dayNumber(*date) * 1440 + *minutes);
        }
    }
}

// The positions of the current layout, from the line's own lengths; nothing when the
// line is not laid out as the writer lays it out.
struct Layout {
    size_t lengths[3];
};

std::optional<Layout> layoutOf(std::string_view l)
{
    if (l.size() < 68 || l[0] != '[' || l[11] != ' ' || !textAt(l, 17, "] [") || !textAt(l, 31, "] [") ||
        !textAt(l, 38, "] [") || !textAt(l, 48, "] [") || l[54] != ' ' || l[58] != ' ' || !textAt(l, 62, "] ["))
        return std::nullopt;
    // The date and the time as the writer puts them: "dd.mm.yyyy", "hh:nn" or blanks.
    if (!digitsAt(l, 1, 2) || l[3] != '.' || !digitsAt(l, 4, 2) || l[6] != '.' || !digitsAt(l, 7, 4))
        return std::nullopt;
    if (l.substr(12, 5) != "     " && (!digitsAt(l, 12, 2) || l[14] != ':' || !digitsAt(l, 15, 2)))
        return std::nullopt;
    Layout layout{};
    for (size_t i = 0; i < 3; ++i) {
        const std::optional<size_t> n = line::lengthAt(l, 52 + 4 * i);
        if (!n)
            return std::nullopt;
        layout.lengths[i] = *n;
    }
    const size_t m = layout.lengths[0], a = layout.lengths[1], s = layout.lengths[2];
    if (l.size() != 68 + m + a + s || l[65 + m] != ' ' || l[66 + m + a] != ' ' || l.back() != ']')
        return std::nullopt;
    return layout;
}

// The values the editor would put on its page for this line.
line::Appointment valuesOf(std::string_view l, const Date& date, int minutes, const line::Texts& texts)
{
    line::Appointment a;
    a.date = date;
    if (line::timeField(l) != "     ")
        a.time = TimeOfDay{minutes / 60, minutes % 60, 0};
    a.active = line::activeField(l) == line::kActive;
    a.showIfExpired = line::flag(l, line::kShowIfExpired) == '1';
    a.deleteAfterExecution = line::flag(l, line::kDeleteAfterExecution) == '1';
    a.message = std::string(texts.message);
    a.application = std::string(texts.application);
    a.sound = std::string(texts.sound);
    return a;
}

char digitChar(size_t n) { return static_cast<char>('0' + n % 10); }

// What the writer makes of a laid-out line: the same bytes with the loosely read parts in
// the one form it writes.
std::string normalised(std::string_view l, const Layout& layout, const Date& date)
{
    std::string out(l);
    if (line::activeField(l) != line::kActive)
        out.replace(34, 4, line::kInactive);
    out[41] = out[41] == '1' ? '1' : '0';
    out[42] = '0'; // a written line has not been carried out yet
    out[43] = out[43] == '1' ? '1' : '0';
    out.replace(44, 4, "0000");
    for (size_t i = 0; i < 3; ++i) {
        const size_t n = layout.lengths[i];
        out[51 + 4 * i] = digitChar(n / 100);
        out[52 + 4 * i] = digitChar(n / 10);
        out[53 + 4 * i] = digitChar(n);
    }
    // The writer takes a year below 100 in the current century.
    if (date.year < 100) {
        char year[16];
        std::snprintf(year, sizeof year, "%04d", date.year + kCurrentYear / 100 * 100);
        out.replace(7, 4, year);
    }
    return out;
}

void checkRoundTrip(std::string_view l)
{
    const std::optional<Date> date = readDateOrNothing(l, kCurrentYear);
    const std::optional<int> minutes = readTimeOrNothing(l);
    const std::optional<line::Texts> texts = readTextsOrNothing(l);
    const std::optional<Layout> layout = layoutOf(l);
    if (layout) {
        // Laid out right, the readers fail only on a date or time outside the calendar.
        FUZZ_CHECK(texts.has_value());
        const size_t m = layout->lengths[0], a = layout->lengths[1];
        FUZZ_CHECK(texts->message == l.substr(65, m));
        FUZZ_CHECK(texts->application == l.substr(66 + m, a));
        FUZZ_CHECK(texts->sound == l.substr(67 + m + a, layout->lengths[2]));
    }
    if (!date || !minutes || !texts)
        return;
    const line::Appointment values = valuesOf(l, *date, *minutes, *texts);
    const std::string_view repeat = line::repeatField(l);

    std::string written;
    try {
        written = line::compose(values, kCurrentYear, repeat);
    } catch (const std::invalid_argument&) {
        // Only what the layout cannot hold is refused.
        const bool tooLong = values.message.size() > line::kMaxTextLength ||
                             values.application.size() > line::kMaxTextLength ||
                             values.sound.size() > line::kMaxTextLength;
        const bool breaks = values.message.find_first_of(kLineBreaks) != std::string::npos ||
                            values.application.find_first_of(kLineBreaks) != std::string::npos ||
                            values.sound.find_first_of(kLineBreaks) != std::string::npos ||
                            repeat.find_first_of(kLineBreaks) != std::string_view::npos;
        FUZZ_CHECK(tooLong || breaks || repeat.size() != 11);
        return;
    }
    FUZZ_CHECK(repeat.size() == 11);
    if (layout && l.find_first_of(kLineBreaks) == std::string_view::npos)
        FUZZ_CHECK(written == normalised(l, *layout, *date));

    // What was written reads back as the values it was written from.
    FUZZ_CHECK(layoutOf(written).has_value());
    Date expectedDate = *date;
    if (expectedDate.year < 100)
        expectedDate.year += kCurrentYear / 100 * 100;
    FUZZ_CHECK(line::readDate(written, kCurrentYear) == expectedDate);
    FUZZ_CHECK(line::readTimeMinutes(written) == *minutes);
    FUZZ_CHECK(line::repeatField(written) == repeat);
    const line::Texts back = line::readTexts(written);
    FUZZ_CHECK(back.message == values.message && back.application == values.application &&
               back.sound == values.sound);
    FUZZ_CHECK(valuesOf(written, expectedDate, *minutes, back).active == values.active);
    FUZZ_CHECK(line::flag(written, line::kShowIfExpired) == (values.showIfExpired ? '1' : '0'));
    FUZZ_CHECK(line::flag(written, line::kDeleteAfterExecution) == (values.deleteAfterExecution ? '1' : '0'));
    FUZZ_CHECK(line::flag(written, line::kExecuted) == '0');
    FUZZ_CHECK(!isOlderLayoutLine(written));
    // Written once more, nothing changes.
    FUZZ_CHECK(line::compose(valuesOf(written, expectedDate, *minutes, back), kCurrentYear, repeat) == written);
    // And the data file carries it as one line.
    FUZZ_CHECK(splitLines(joinLines({written})) == std::vector<std::string>{written});
}

void checkRepeatWord(std::string_view l)
{
    const std::string_view field = line::repeatField(l);
    if (const std::optional<line::RepeatKind> kind = line::repeatKindOf(field)) {
        FUZZ_CHECK(line::repeatWord(*kind) == field);
        FUZZ_CHECK(field.size() == 11);
    }
}

// The older layout converts by gaining the flag field, after which the lengths and the
// texts stand where the current readers look for them.
void checkOlderLayout(std::string_view l)
{
    if (!isOlderLayoutLine(l))
        return;
    FUZZ_CHECK(!readTextsOrNothing(l).has_value()); // the reason the first check fails on it
    std::string converted(l);
    converted.insert(40, "[0000000] ");
    FUZZ_CHECK(!isOlderLayoutLine(converted));
    const line::Texts texts = line::readTexts(converted);
    size_t lengths[3];
    for (size_t i = 0; i < 3; ++i) {
        lengths[i] = static_cast<size_t>(std::stoi(std::string(l.substr(41 + 4 * i, 3))));
        FUZZ_CHECK(line::lengthAt(converted, 52 + 4 * i) == lengths[i]);
    }
    FUZZ_CHECK(texts.message == line::slice(l, 56, lengths[0]));
    FUZZ_CHECK(texts.application == line::slice(l, 57 + lengths[0], lengths[1]));
    FUZZ_CHECK(texts.sound == line::slice(l, 58 + lengths[0] + lengths[1], lengths[2]));
    for (int k = 1; k <= 7; ++k)
        FUZZ_CHECK(line::flag(converted, k) == '0');
    FUZZ_CHECK(line::dateTimeField(converted) == line::dateTimeField(l));
}

void fuzzOne(std::string_view l)
{
    checkDateTimeValue(l);
    checkRepeatWord(l);
    checkRoundTrip(l);
    checkOlderLayout(l);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zw::fuzz::runOne(fuzzOne, data, size);
}
