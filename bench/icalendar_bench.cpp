// Exporting 10,000 appointments to iCalendar and importing them into an empty list: both
// are to take well under a second.
#include "bench/realistic_lines.h"
#include "interchange/icalendar.h"
#include "store/appointment_list.h"

#include <benchmark/benchmark.h>

namespace zw::bench {
namespace {

class BenchClock final : public Clock {
public:
    LocalDateTime now() const override { return kCheckTime; }
    std::optional<int64_t> utcSeconds() const override { return (dayNumber(kCheckTime.date) * 1440 + 617) * 60; }
    // Central European winter time: enough for the conversions to do their work.
    std::optional<LocalDateTime> wallAt(int64_t utc) const override
    {
        const int64_t minutes = utc / 60 + 60;
        const int64_t days = minutes / 1440;
        const int64_t rest = minutes % 1440;
        return LocalDateTime{dateFromDayNumber(days), {static_cast<int>(rest / 60), static_cast<int>(rest % 60), 0}};
    }
};

void ICalendar_Export(benchmark::State& state)
{
    const auto lines = asLoaded(realisticLines(static_cast<size_t>(state.range(0))));
    const BenchClock clock;
    for (auto _ : state) {
        const ical::Export out = ical::exportCalendar(lines, clock, "Europe/Berlin");
        benchmark::DoNotOptimize(out.text.data());
        if (out.written != lines.size())
            state.SkipWithError("not every appointment written");
    }
}
BENCHMARK(ICalendar_Export)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading the file and storing every event through the editor's checks and store; the
// save is DataFile_SaveAtomic's.
void ICalendar_Import(benchmark::State& state)
{
    const auto lines = realisticLines(static_cast<size_t>(state.range(0)));
    const BenchClock clock;
    const std::string file = ical::exportCalendar(lines, clock, "Europe/Berlin").text;
    for (auto _ : state) {
        AppointmentList list;
        const ical::Calendar calendar = ical::parseCalendar(file, clock, "Europe/Berlin");
        const ical::ImportReport report = ical::importCalendar(list, clock, calendar, false);
        benchmark::DoNotOptimize(list.lines().data());
        state.PauseTiming();
        if (calendar.broken || report.stored + report.skipped != lines.size())
            state.SkipWithError("the file did not import");
        state.ResumeTiming();
    }
}
BENCHMARK(ICalendar_Import)->Arg(10'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zw::bench
