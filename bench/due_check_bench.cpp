// The minute's due check over a large list in which nothing is due: the cost every user
// pays once a minute.
#include "bench/realistic_lines.h"
#include "scheduler/due_check.h"
#include "store/data_file.h"

#include <benchmark/benchmark.h>

namespace zw::bench {
namespace {

class FixedClock : public Clock {
public:
    LocalDateTime now() const override { return kCheckTime; }
};

// Nothing is due in these lists; a call would make the figure meaningless.
class CountingExecutor : public AppointmentExecutor {
public:
    size_t calls = 0;
    void carryOut(const DueAppointment&) override { ++calls; }
};

void runDueCheck(benchmark::State& state, AppointmentList& list)
{
    FixedClock clock;
    CountingExecutor executor;
    DueCheck check(list, clock, executor);
    for (auto _ : state)
        check.run(kCheckTime);
    if (executor.calls != 0)
        state.SkipWithError("an appointment was due");
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(list.count()));
}

// The check alone: the list's save is a no-op here and measured by DueCheck_NoneDue_WithAtomicSave.
void DueCheck_NoneDue_SaveExcluded(benchmark::State& state)
{
    AppointmentList list;
    list.assign(linesNoneDue(static_cast<size_t>(state.range(0))));
    list.setSaver([](const std::vector<std::string>&) {});
    runDueCheck(state, list);
}
BENCHMARK(DueCheck_NoneDue_SaveExcluded)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same over lines that lie scattered in memory, as after a long session of stores and
// edits: the figure must not depend on where the allocator put the lines.
void DueCheck_NoneDue_ScatteredHeap_SaveExcluded(benchmark::State& state)
{
    AppointmentList list;
    list.assign(scatteredInMemory(linesNoneDue(static_cast<size_t>(state.range(0)))));
    list.setSaver([](const std::vector<std::string>&) {});
    runDueCheck(state, list);
}
BENCHMARK(DueCheck_NoneDue_ScatteredHeap_SaveExcluded)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first run after the list was loaded or replaced, which also notes for each line the
// days it can be due on: the cost of the check at start-up.
void DueCheck_FirstRun_SaveExcluded(benchmark::State& state)
{
    AppointmentList list;
    list.assign(linesNoneDue(static_cast<size_t>(state.range(0))));
    list.setSaver([](const std::vector<std::string>&) {});
    FixedClock clock;
    CountingExecutor executor;
    DueCheck check(list, clock, executor);
    for (auto _ : state) {
        state.PauseTiming();
        list.assign(linesNoneDue(static_cast<size_t>(state.range(0))));
        state.ResumeTiming();
        check.run(kCheckTime);
    }
    if (executor.calls != 0)
        state.SkipWithError("an appointment was due");
}
BENCHMARK(DueCheck_FirstRun_SaveExcluded)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a real minute costs: the check and the atomic rewrite of termine.dat at its end.
void DueCheck_NoneDue_WithAtomicSave(benchmark::State& state)
{
    TempDir dir;
    DataFile file(dir.path() / "termine.dat");
    AppointmentList list;
    list.assign(linesNoneDue(static_cast<size_t>(state.range(0))));
    list.setSaver([&file](const std::vector<std::string>& lines) { file.save(lines); });
    runDueCheck(state, list);
}
BENCHMARK(DueCheck_NoneDue_WithAtomicSave)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zw::bench
