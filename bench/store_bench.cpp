// Loading and saving termine.dat, and storing one appointment into a large list.
#include "bench/realistic_lines.h"
#include "common/sound_name.h"
#include "store/appointment_line.h"
#include "store/appointment_list.h"
#include "store/data_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace zw::bench {
namespace {

// Start-up reads the whole file; the file was just written, so it comes from the page
// cache, as it does on a machine that has run the program before.
void DataFile_Load(benchmark::State& state)
{
    const auto n = static_cast<size_t>(state.range(0));
    TempDir dir;
    DataFile file(dir.path() / "termine.dat");
    file.save(realisticLines(n));
    std::vector<std::string> lines;
    for (auto _ : state) {
        lines = file.load();
        benchmark::DoNotOptimize(lines.data());
        // Freeing the previous list is not part of loading.
        state.PauseTiming();
        if (lines.size() != n)
            state.SkipWithError("wrong number of lines loaded");
        lines = {};
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(file.path())));
}
BENCHMARK(DataFile_Load)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole file replaced atomically: temporary file, fdatasync, rename; on the disk that
// holds the temporary directory.
void DataFile_SaveAtomic(benchmark::State& state)
{
    TempDir dir;
    DataFile file(dir.path() / "termine.dat");
    const auto lines = realisticLines(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        file.save(lines);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(file.path())));
}
BENCHMARK(DataFile_SaveAtomic)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

std::string lineAt(long long minutes, const std::string& message)
{
    line::Appointment a;
    a.date = dateFromDayNumber(minutes / 1440);
    a.time = TimeOfDay{static_cast<int>(minutes % 1440 / 60), static_cast<int>(minutes % 60), 0};
    a.message = message;
    a.sound = std::string(kNoSound);
    return line::compose(a, kCurrentYear);
}

// Stores `stored` (editing the entry at editPosition, 1-based, or none) into a list of
// range(0) lines, expects it at position `expected`, and lets `restore` put the list back
// outside the timing. The save is a no-op: DataFile_SaveAtomic measures it.
template <typename Restore>
void storeInto(benchmark::State& state, AppointmentList& list, const std::string& stored, int editPosition,
               size_t expected, Restore restore)
{
    int queries = 0;
    const AppointmentList::OverwriteQuery ask = [&queries] {
        ++queries;
        return OverwriteAnswer::No;
    };
    list.setSaver([](const std::vector<std::string>&) {});
    for (auto _ : state) {
        list.store(stored, editPosition, ask, kCurrentYear);
        state.PauseTiming();
        if (list.get(expected) != stored)
            state.SkipWithError("stored at the wrong place");
        restore();
        state.ResumeTiming();
    }
    if (queries != 0)
        state.SkipWithError("the overwrite query was asked");
}

// The worst case for the scan: a new appointment later than all others reads every line.
void AppointmentList_Store_AtEnd_SaveExcluded(benchmark::State& state)
{
    AppointmentList list;
    list.assign(realisticLines(static_cast<size_t>(state.range(0))));
    const auto last = dateTimeValues(list.lines()).back();
    const std::string stored = lineAt(last + 7, "Neuer Termin nach allen anderen");
    const size_t end = list.count();
    storeInto(state, list, stored, 0, end, [&] { list.remove(end); });
}
BENCHMARK(AppointmentList_Store_AtEnd_SaveExcluded)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same store into a list whose lines lie scattered in memory, as after a long session
// of stores and edits without a restart: each line read by the scan is a cache miss. For
// information; the lists the program loads lie in order.
void AppointmentList_Store_AtEnd_ScatteredHeap_SaveExcluded(benchmark::State& state)
{
    const auto n = static_cast<size_t>(state.range(0));
    AppointmentList list;
    list.assign(scatteredInMemory(realisticLines(n)));
    const auto last = dateTimeValues(list.lines()).back();
    const std::string stored = lineAt(last + 7, "Neuer Termin nach allen anderen");
    const size_t end = list.count();
    storeInto(state, list, stored, 0, end, [&] { list.remove(end); });
}
BENCHMARK(AppointmentList_Store_AtEnd_ScatteredHeap_SaveExcluded)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A new appointment in the middle: half the scan, and half the list moved by the insert.
void AppointmentList_Store_Middle_SaveExcluded(benchmark::State& state)
{
    AppointmentList list;
    list.assign(realisticLines(static_cast<size_t>(state.range(0))));
    const auto values = dateTimeValues(list.lines());
    // One minute before the middle line: the generated minutes are multiples of five, so
    // no line has this value and no query is asked.
    const long long minutes = values[values.size() / 2] - 1;
    const std::string stored = lineAt(minutes, "Neuer Termin in der Mitte der Liste");
    const auto at = static_cast<size_t>(std::lower_bound(values.begin(), values.end(), minutes) - values.begin());
    storeInto(state, list, stored, 0, at, [&] { list.remove(at); });
}
BENCHMARK(AppointmentList_Store_Middle_SaveExcluded)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Editing the first entry and moving it behind all others: the removal moves the whole
// list up, the scan reads every line.
void AppointmentList_Store_EditFirstToEnd_SaveExcluded(benchmark::State& state)
{
    AppointmentList list;
    list.assign(realisticLines(static_cast<size_t>(state.range(0))));
    const auto last = dateTimeValues(list.lines()).back();
    const std::string original = list.get(0);
    const std::string stored = lineAt(last + 7, "Verschobener Termin");
    const size_t end = list.count() - 1;
    storeInto(state, list, stored, 1, end, [&] {
        list.remove(end);
        list.insert(0, original);
    });
}
BENCHMARK(AppointmentList_Store_EditFirstToEnd_SaveExcluded)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace zw::bench
