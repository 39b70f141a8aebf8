// Feeds arbitrary bytes, taken as the content of termine.dat, through the file reader,
// every field reader, the conversion of the older layout, the due check and the store,
// and checks after each step that no line was lost or changed beyond what the step may
// do. A ZeitwacheError is the expected answer to a damaged line; any other exception, a
// crash or a broken check is a finding.
//
// The last bytes of the input also choose the check's minutes, the appointment to store
// and the answer to the overwrite query, so a saved finding reproduces exactly.
#include "fuzz_support.h"

#include "common/civil_time.h"
#include "common/sound_name.h"
#include "common/zeitwache_error.h"
#include "scheduler/due_check.h"
#include "store/appointment_line.h"
#include "store/appointment_list.h"
#include "store/conversion.h"
#include "store/data_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

namespace {

using namespace zw;

using fuzz::Choices;

constexpr int kCurrentYear = 2026;
constexpr std::string_view kFlagField = "[0000000] ";

bool within(std::string_view part, const std::string& whole)
{
    if (part.empty())
        return true;
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

// Every reader on one line: each either answers within its range or throws
// ZeitwacheError.
void readEveryField(const std::string& l)
{
    for (int year : {kCurrentYear, 1, 9999}) {
        try {
            FUZZ_CHECK(isValidDate(line::readDate(l, year)));
        } catch (const ZeitwacheError&) {
        }
        try {
            const int64_t v = line::readDateTimeValue(l, year);
            FUZZ_CHECK(v >= dayNumber({1, 1, 1}) * 1440 && v <= dayNumber({9999, 12, 31}) * 1440 + 1439);
        } catch (const ZeitwacheError&) {
        }
    }
    try {
        const int minutes = line::readTimeMinutes(l);
        FUZZ_CHECK(minutes >= 0 && minutes < 1440);
    } catch (const ZeitwacheError&) {
    }
    try {
        const line::Texts t = line::readTexts(l);
        FUZZ_CHECK(within(t.message, l) && within(t.application, l) && within(t.sound, l));
        FUZZ_CHECK(t.message.size() <= line::kMaxTextLength && t.application.size() <= line::kMaxTextLength &&
                   t.sound.size() <= line::kMaxTextLength);
    } catch (const ZeitwacheError&) {
    }
    if (auto kind = line::repeatKindOf(line::repeatField(l)))
        FUZZ_CHECK(line::repeatWord(*kind) == line::repeatField(l));
    (void)line::repeatKindOf(l);
    for (int k = 1; k <= 7; ++k) {
        const auto pos = static_cast<size_t>(41 + k);
        FUZZ_CHECK(line::flag(l, k) == (pos <= l.size() ? l[pos - 1] : '\0'));
        std::string changed = l;
        line::setFlag(changed, k, '1');
        FUZZ_CHECK(changed.size() == l.size());
        for (size_t i = 0; i < l.size(); ++i)
            FUZZ_CHECK(changed[i] == l[i] || (i == pos - 1 && changed[i] == '1'));
    }
}

// The loader reads the bytes as a real file: an anonymous in-memory file, written anew for
// each input, spares the disk.
std::vector<std::string> loadThroughFile(std::string_view content)
{
    static const int fd = [] {
        int f = ::memfd_create("termine.dat", 0);
        if (f < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        return f;
    }();
    FUZZ_CHECK(::ftruncate(fd, 0) == 0);
    FUZZ_CHECK(::pwrite(fd, content.data(), content.size(), 0) == static_cast<ssize_t>(content.size()));
    return DataFile("/proc/self/fd/" + std::to_string(fd)).load();
}

void checkLineSplitting(std::string_view content, const std::vector<std::string>& lines)
{
    const std::string_view upToNul = content.substr(0, content.find('\0'));
    size_t bytes = 0;
    for (const auto& l : lines) {
        FUZZ_CHECK(l.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        bytes += l.size();
    }
    // Every byte before the first 0 is in a line or in a line end of one or two bytes;
    // only the last line may lack its end.
    FUZZ_CHECK(lines.empty() == upToNul.empty());
    FUZZ_CHECK(bytes <= upToNul.size());
    const size_t ends = upToNul.size() - bytes;
    FUZZ_CHECK(ends <= 2 * lines.size() && ends + 1 >= lines.size());
    FUZZ_CHECK(splitLines(joinLines(lines)) == lines);
    FUZZ_CHECK(joinLines(lines).size() == bytes + 2 * lines.size());
}

// Converts in place; a line changes only by gaining the flag field, and only when it is of
// the older layout.
void convert(AppointmentList& list, const std::vector<std::string>& loaded, int& saves)
{
    std::vector<std::vector<std::string>> backups;
    const size_t converted = convertOlderLayout(list, [&](const auto& l) { backups.push_back(l); });
    FUZZ_CHECK(list.count() == loaded.size());
    size_t older = 0;
    for (size_t i = 0; i < loaded.size(); ++i) {
        if (isOlderLayoutLine(loaded[i])) {
            ++older;
            std::string expected = loaded[i];
            expected.insert(40, kFlagField);
            FUZZ_CHECK(list.get(i) == expected);
        } else {
            FUZZ_CHECK(list.get(i) == loaded[i]);
        }
    }
    FUZZ_CHECK(converted == older);
    if (converted > 0) {
        FUZZ_CHECK(backups.size() == 1 && backups.front() == loaded);
        FUZZ_CHECK(saves == 1);
    } else {
        FUZZ_CHECK(backups.empty() && saves == 0);
    }
    // What was converted is of the current layout: converting again changes nothing.
    FUZZ_CHECK(convertOlderLayout(list, [&](const auto&) { backups.push_back({}); }) == 0);
}

// Carries out like the program does (Executed set, the line deleted when it asks for it)
// and keeps track of where every line of the list came from.
class TrackingExecutor : public AppointmentExecutor {
public:
    TrackingExecutor(AppointmentList& list, size_t lines) : carried(lines, 0), list_(list)
    {
        for (size_t i = 0; i < lines; ++i)
            origin.push_back(i);
    }

    std::vector<size_t> origin;   // origin[j]: the index in the list before the runs
    std::vector<int> carried;     // how often each original line was carried out
    std::vector<int> carriedThisRun;

    void carryOut(const DueAppointment& a) override
    {
        FUZZ_CHECK(a.index < list_.count() && list_.count() == origin.size());
        const std::string& l = list_.get(a.index);
        const line::Texts t = line::readTexts(l); // the check has read it already
        FUZZ_CHECK(a.message == t.message && a.application == t.application && a.sound == t.sound);
        FUZZ_CHECK(a.deleteFlag == line::flag(l, line::kDeleteAfterExecution));
        FUZZ_CHECK(!a.statusText.empty() && a.statusText.size() <= 40);
        const size_t from = origin[a.index];
        ++carried[from];
        FUZZ_CHECK(++carriedThisRun[from] == 1); // at most once per run

        std::string marked = l;
        line::setFlag(marked, line::kExecuted, '1');
        list_.put(a.index, marked);
        if (a.deleteFlag == '1') {
            list_.remove(a.index);
            origin.erase(origin.begin() + static_cast<std::ptrdiff_t>(a.index));
        }
    }

private:
    AppointmentList& list_;
};

class FixedClock : public Clock {
public:
    LocalDateTime now() const override { return {{2026, 12, 6}, {10, 0, 0}}; }
};

// Minutes the checks run at: ordinary ones, the start of a day, a leap day, the ends of
// the calendar.
constexpr std::array<LocalDateTime, 8> kMinutes = {{
    {{2026, 12, 6}, {10, 0, 0}},
    {{2027, 1, 5}, {7, 45, 0}},
    {{2026, 12, 24}, {18, 30, 0}},
    {{2027, 3, 1}, {0, 0, 0}},
    {{2028, 2, 29}, {14, 25, 0}},
    {{2026, 12, 31}, {23, 59, 0}},
    {{1, 1, 1}, {0, 0, 0}},
    {{9999, 12, 31}, {23, 59, 0}},
}};

// Two runs of the due check. Only the executor may change or remove lines, and the list
// is saved at the end of every run that did not stop at a damaged line.
void dueChecks(AppointmentList& list, Choices& choices, int& saves, std::vector<std::string>& saved)
{
    const std::vector<std::string> before = list.lines();
    TrackingExecutor executor(list, before.size());
    FixedClock clock;
    DueCheck check(list, clock, executor);
    for (int run = 0; run < 2; ++run) {
        executor.carriedThisRun.assign(before.size(), 0);
        const int savesBefore = saves;
        bool failed = false;
        try {
            check.run(kMinutes[choices.below(kMinutes.size())]);
        } catch (const ZeitwacheError&) {
            failed = true;
        }
        FUZZ_CHECK(!check.running());
        FUZZ_CHECK(saves == savesBefore + (failed ? 0 : 1));
        if (!failed)
            FUZZ_CHECK(saved == list.lines());
        FUZZ_CHECK(list.count() == executor.origin.size());
        for (size_t j = 0; j < list.count(); ++j) {
            const size_t from = executor.origin[j];
            FUZZ_CHECK(j == 0 || executor.origin[j - 1] < from); // order kept
            std::string expected = before[from];
            if (executor.carried[from] > 0)
                line::setFlag(expected, line::kExecuted, '1');
            FUZZ_CHECK(list.get(j) == expected);
        }
        // A line is gone only when it was carried out and asked to be deleted.
        for (size_t from = 0, j = 0; from < before.size(); ++from) {
            if (j < executor.origin.size() && executor.origin[j] == from) {
                ++j;
                continue;
            }
            FUZZ_CHECK(executor.carried[from] > 0 && line::flag(before[from], line::kDeleteAfterExecution) == '1');
        }
    }
}

// Texts for the composed appointment: bytes of the input, without line ends and zeros,
// which the editor's one-line fields cannot hold.
std::string textFrom(std::string_view input, size_t offset, size_t length)
{
    std::string t(input.substr(std::min(offset, input.size()), length));
    for (char& c : t)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return t;
}

// An appointment from the input's bytes; at the date and time of the list entry `sameAs`
// (minutes) when given, so that the store meets an equal entry.
std::string composeFromChoices(std::string_view input, Choices& choices, std::optional<int64_t> sameAs)
{
    line::Appointment a;
    if (sameAs) {
        // Days before 1970 are negative: round down.
        const int64_t days = (*sameAs >= 0 ? *sameAs : *sameAs - 1439) / 1440;
        a.date = dateFromDayNumber(days);
        const auto minutes = static_cast<int>(*sameAs - days * 1440);
        // Midnight is also an appointment without time.
        if (minutes != 0 || choices.byte() % 2 == 0)
            a.time = TimeOfDay{minutes / 60, minutes % 60, 0};
    } else {
        a.date.year = 1 + static_cast<int>(choices.below(9999));
        a.date.month = 1 + static_cast<int>(choices.byte() % 12);
        const int century = a.date.year < 100 ? kCurrentYear / 100 * 100 : 0;
        a.date.day =
            1 + static_cast<int>(choices.byte() % static_cast<unsigned>(daysInMonth(a.date.year + century, a.date.month)));
        if (choices.byte() % 8 != 0)
            a.time = TimeOfDay{static_cast<int>(choices.byte() % 24), static_cast<int>(choices.byte() % 60), 0};
    }
    const int year = a.date.year < 100 ? a.date.year + kCurrentYear / 100 * 100 : a.date.year;
    a.repeat = static_cast<line::RepeatKind>(choices.byte() % 6);
    const unsigned flags = choices.byte();
    a.active = flags & 1;
    a.showIfExpired = flags & 2;
    a.deleteAfterExecution = flags & 4;
    // One choice per statement: the order in which arguments are evaluated is open.
    const unsigned messageAt = choices.byte();
    a.message = textFrom(input, messageAt, choices.below(300));
    const unsigned applicationAt = choices.byte();
    const unsigned applicationLength = choices.byte() % 3 == 0 ? choices.below(1000) : 0;
    a.application = textFrom(input, applicationAt, applicationLength);
    if (flags & 8) {
        a.sound = std::string(kNoSound);
    } else {
        const unsigned soundAt = choices.byte();
        a.sound = textFrom(input, soundAt, choices.byte() % 40);
    }

    const std::string l = line::compose(a, kCurrentYear);
    // Every reader gives back what was composed.
    const Date date{year, a.date.month, a.date.day};
    const int minutes = a.time ? a.time->hour * 60 + a.time->minute : 0;
    FUZZ_CHECK(l.size() == 68 + a.message.size() + a.application.size() + a.sound.size());
    FUZZ_CHECK(line::readDate(l, kCurrentYear) == date);
    FUZZ_CHECK(line::readTimeMinutes(l) == minutes);
    FUZZ_CHECK(line::readDateTimeValue(l, kCurrentYear) == dayNumber(date) * 1440 + minutes);
    const line::Texts t = line::readTexts(l);
    FUZZ_CHECK(t.message == a.message && t.application == a.application && t.sound == a.sound);
    FUZZ_CHECK(line::repeatKindOf(line::repeatField(l)) == a.repeat);
    FUZZ_CHECK(line::activeField(l) == (a.active ? line::kActive : line::kInactive));
    FUZZ_CHECK(line::flag(l, line::kShowIfExpired) == (a.showIfExpired ? '1' : '0'));
    FUZZ_CHECK(line::flag(l, line::kExecuted) == '0');
    FUZZ_CHECK(line::flag(l, line::kDeleteAfterExecution) == (a.deleteAfterExecution ? '1' : '0'));
    for (int k = 4; k <= 7; ++k)
        FUZZ_CHECK(line::flag(l, k) == '0');
    FUZZ_CHECK(!isOlderLayoutLine(l));
    FUZZ_CHECK(splitLines(joinLines({l})) == std::vector<std::string>{l});
    return l;
}

// One store into the list as it stands: it fails with the list unchanged, or the line
// stands at its place in date order with exactly the documented change around it.
void storeOne(AppointmentList& list, const std::string& composed, Choices& choices, int& saves,
              std::vector<std::string>& saved)
{
    const std::vector<std::string> before = list.lines();
    const unsigned how = choices.byte();
    int editPosition = 0;
    if (how == 255)
        editPosition = -1;
    else if (how >= 128)
        editPosition = 1 + static_cast<int>(choices.below(static_cast<unsigned>(before.size()) + 2));
    const auto answer = static_cast<OverwriteAnswer>(choices.byte() % 3);
    int asked = 0;
    const AppointmentList::OverwriteQuery ask = [&] {
        ++asked;
        return answer;
    };
    const int savesBefore = saves;
    const int64_t value = line::readDateTimeValue(composed, kCurrentYear);

    AppointmentList::StoreResult result = AppointmentList::StoreResult::Declined;
    try {
        result = list.store(composed, editPosition, ask, kCurrentYear);
    } catch (const ZeitwacheError&) {
        // A damaged line met by the scan, or an edited position that does not exist.
        FUZZ_CHECK(list.lines() == before);
        FUZZ_CHECK(saves == savesBefore && asked == 0);
        return;
    }
    FUZZ_CHECK(saves == savesBefore + 1 && saved == list.lines());
    FUZZ_CHECK(asked <= 1);
    if (result == AppointmentList::StoreResult::Declined) {
        FUZZ_CHECK(asked == 1 && answer != OverwriteAnswer::Yes);
        FUZZ_CHECK(list.lines() == before);
        return;
    }
    FUZZ_CHECK(editPosition <= static_cast<int>(before.size()));
    std::vector<std::string> expected = before; // without the entry being edited
    if (editPosition > 0)
        expected.erase(expected.begin() + (editPosition - 1));
    // The place in date order: the first entry not earlier than the new one. The store has
    // read every entry up to it, so they are all readable.
    size_t p = 0;
    while (p < expected.size() && line::readDateTimeValue(expected[p], kCurrentYear) < value)
        ++p;
    const bool equal = p < expected.size() && line::readDateTimeValue(expected[p], kCurrentYear) == value;
    FUZZ_CHECK(asked == (equal ? 1 : 0));
    if (equal) {
        FUZZ_CHECK(answer == OverwriteAnswer::Yes);
        expected[p] = composed;
    } else {
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(p), composed);
    }
    FUZZ_CHECK(list.lines() == expected);
    FUZZ_CHECK(list.count() == before.size() + (editPosition > 0 ? 0 : 1) - (equal ? 1 : 0));
}

void fuzzOne(std::string_view input)
{
    Choices choices(input);

    const std::vector<std::string> loaded = splitLines(input);
    checkLineSplitting(input, loaded);
    FUZZ_CHECK(loadThroughFile(input) == loaded);
    for (const auto& l : loaded)
        readEveryField(l);

    AppointmentList list;
    int saves = 0;
    std::vector<std::string> saved;
    list.setSaver([&](const std::vector<std::string>& lines) {
        ++saves;
        saved = lines;
    });
    list.assign(loaded);
    convert(list, loaded, saves);

    saves = 0;
    dueChecks(list, choices, saves, saved);

    std::optional<int64_t> sameAs;
    if (list.count() > 0 && choices.byte() % 2 == 0) {
        try {
            sameAs = line::readDateTimeValue(list.get(choices.below(static_cast<unsigned>(list.count()))), kCurrentYear);
        } catch (const ZeitwacheError&) {
        }
    }
    const std::string composed = composeFromChoices(input, choices, sameAs);
    storeOne(list, composed, choices, saves, saved);
    FUZZ_CHECK(splitLines(joinLines(list.lines())) == list.lines());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zw::fuzz::runOne(fuzzOne, data, size);
}
