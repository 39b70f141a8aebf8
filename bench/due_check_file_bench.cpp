// The due check and loading over a termine.dat given from outside, for comparing with
// other programs on the very same appointments (scripts/measure-peers). Registered only
// when ZEITWACHE_BENCH_FILE names the file; the check runs for the minute in
// ZEITWACHE_BENCH_AT ("YYYY-MM-DD HH:MM"), or for the minute the benchmark starts.
//   DueCheck_File_SaveExcluded   the minute's check over the loaded list (what the
//                                program does once a minute), save excluded
//   DueCheck_File_LoadAndCheck   reading the file into a list, then that check (what a
//                                program that keeps no list between runs would do)
// Both count the appointments the check would carry out and report them as "due".
#include "scheduler/due_check.h"
#include "store/data_file.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

namespace zw::bench {
namespace {

LocalDateTime checkMinute()
{
    const char* at = std::getenv("ZEITWACHE_BENCH_AT");
    LocalDateTime t;
    if (at != nullptr && std::sscanf(at, "%d-%d-%d %d:%d", &t.date.year, &t.date.month, &t.date.day, &t.time.hour,
                                     &t.time.minute) == 5)
        return t;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, {local.tm_hour, local.tm_min, 0}};
}

class FixedClock : public Clock {
public:
    explicit FixedClock(LocalDateTime t) : t_(t) {}
    LocalDateTime now() const override { return t_; }

private:
    LocalDateTime t_;
};

// Counts what would be carried out; the list stays as it is, so every iteration checks the
// same lines.
class CountingExecutor : public AppointmentExecutor {
public:
    size_t calls = 0;
    void carryOut(const DueAppointment&) override { ++calls; }
};

size_t checkOnce(AppointmentList& list, const LocalDateTime& minute)
{
    FixedClock clock(minute);
    CountingExecutor executor;
    // A fresh check each time: the day's first run, which also announces the appointments
    // without time, as a program started afresh would.
    DueCheck check(list, clock, executor);
    check.run(minute);
    return executor.calls;
}

void DueCheck_File_SaveExcluded(benchmark::State& state, const std::filesystem::path& file)
{
    const LocalDateTime minute = checkMinute();
    AppointmentList list;
    list.assign(DataFile(file).load());
    list.setSaver([](const std::vector<std::string>&) {});
    size_t due = 0;
    for (auto _ : state)
        due = checkOnce(list, minute);
    state.counters["lines"] = static_cast<double>(list.count());
    state.counters["due"] = static_cast<double>(due);
}

void DueCheck_File_LoadAndCheck(benchmark::State& state, const std::filesystem::path& file)
{
    const LocalDateTime minute = checkMinute();
    size_t due = 0;
    size_t lines = 0;
    for (auto _ : state) {
        AppointmentList list;
        list.assign(DataFile(file).load());
        list.setSaver([](const std::vector<std::string>&) {});
        due = checkOnce(list, minute);
        lines = list.count();
        state.PauseTiming(); // freeing the list is not part of it
        list.assign({});
        state.ResumeTiming();
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["due"] = static_cast<double>(due);
}

[[maybe_unused]] const bool registered = [] {
    const char* file = std::getenv("ZEITWACHE_BENCH_FILE");
    if (file == nullptr || *file == '\0')
        return false;
    const std::filesystem::path path(file);
    benchmark::RegisterBenchmark("DueCheck_File_SaveExcluded", DueCheck_File_SaveExcluded, path)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("DueCheck_File_LoadAndCheck", DueCheck_File_LoadAndCheck, path)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    return true;
}();

} // namespace
} // namespace zw::bench
