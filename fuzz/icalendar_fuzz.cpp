// Feeds arbitrary bytes as an iCalendar file to the import, into a list that holds two
// appointments already.
//
// A malformed file names where it broke and imports nothing. Otherwise every event is
// either stored or skipped; the list stays in date order, every line in it reads back
// field by field, and no line that stood before is lost unless one at its minute replaced
// it. Exporting the list and importing that file into an empty list gives the same lines
// byte for byte.
#include "fuzz_support.h"

#include "interchange/icalendar.h"
#include "store/appointment_line.h"
#include "store/appointment_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zw;

class ZonedClock final : public Clock {
public:
    LocalDateTime now() const override { return {{2026, 12, 9}, {10, 0, 0}}; }
    std::optional<int64_t> utcSeconds() const override { return (dayNumber(now().date) * 1440 + 540) * 60; }
    std::optional<LocalDateTime> wallAt(int64_t utc) const override
    {
        // Floor division: instants before 1970 too.
        const int64_t m = utc / 60 - (utc % 60 < 0 ? 1 : 0) + 60;
        const int64_t days = m / 1440 - (m % 1440 < 0 ? 1 : 0);
        const int64_t rest = m - days * 1440;
        return LocalDateTime{dateFromDayNumber(days), {static_cast<int>(rest / 60), static_cast<int>(rest % 60), 0}};
    }
};

const std::vector<std::string> kBefore = {
    "[24.12.2026 18:30] [Keine      ] [Ja  ] [1000000] [019 000 006] [Geschenke einpacken  (Kein)]",
    "[05.01.2027 07:45] [T\xE4glich    ] [Ja  ] [1000000] [013 000 008] [Zeitung holen  gong.wav]",
};

void importOnce(std::string_view input)
{
    const ZonedClock clock;
    const ical::Calendar calendar = ical::parseCalendar(input, clock, "Etc/GMT-1");
    if (calendar.broken) {
        FUZZ_CHECK(!calendar.broken->empty());
        FUZZ_CHECK(calendar.events.empty());
        return;
    }
    AppointmentList list;
    list.assign(kBefore);
    const bool replace = !input.empty() && input.back() == '!';
    const ical::ImportReport report = ical::importCalendar(list, clock, calendar, replace);
    FUZZ_CHECK(report.stored + report.skipped == calendar.events.size());
    FUZZ_CHECK(list.count() <= kBefore.size() + report.stored);
    int64_t previous = INT64_MIN;
    for (const std::string& l : list.lines()) {
        const int64_t value = line::readDateTimeValue(l, 2026);
        FUZZ_CHECK(value >= previous);
        previous = value;
        (void)line::readCheckFields(l, 2026);
        FUZZ_CHECK(line::repeatKindOf(line::repeatField(l)).has_value());
    }
    for (const std::string& old : kBefore) {
        const bool kept = std::find(list.lines().begin(), list.lines().end(), old) != list.lines().end();
        FUZZ_CHECK(kept || replace);
    }

    const ical::Export out = ical::exportCalendar(list.lines(), clock, "Etc/GMT-1");
    FUZZ_CHECK(out.written == list.count());
    const ical::Calendar again = ical::parseCalendar(out.text, clock, "Etc/GMT-1");
    FUZZ_CHECK(!again.broken);
    AppointmentList copy;
    const ical::ImportReport second = ical::importCalendar(copy, clock, again, false);
    FUZZ_CHECK(second.skipped == 0);
    FUZZ_CHECK(copy.lines() == list.lines());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return zw::fuzz::runOne(importOnce, data, size);
}
