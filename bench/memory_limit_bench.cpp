// What this machine's memory allows for the same bytes the due check and loading handle:
// the floor under DueCheck_NoneDue_SaveExcluded/100000 and DataFile_Load/1000000.
//   MemoryLimit_Scan             reads the bytes once (memchr for a byte that is not there)
//   MemoryLimit_Memcpy           copies them between buffers whose pages are present
//   MemoryLimit_TouchEveryLine   reads one byte of each line of the list as it is held
//                                (a std::string each): the least a pass over every line costs
//   MemoryLimit_ReadFile_*       reads the file from the page cache with one read(), into
//                                memory whose pages are present (Prefaulted), into fresh
//                                memory (FreshMemory: every page faulted in on the way, as a
//                                loader's new buffer is), and into fresh memory advised as
//                                transparent huge pages (HugePages: madvise MADV_HUGEPAGE,
//                                one fault per 2 MB)
// Arg 100000 is the size of the 100,000-line list the due check reads (its lines without
// line ends), arg 1000000 the size of the 1,000,000-line termine.dat.
#include "bench/realistic_lines.h"
#include "store/data_file.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <map>
#include <stdexcept>

namespace zw::bench {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// The bytes for each argument, built once.
const std::string& bytesFor(size_t n)
{
    static std::map<size_t, std::string> cache;
    auto found = cache.find(n);
    if (found != cache.end())
        return found->second;
    std::string bytes;
    if (n == 100'000) {
        for (const auto& l : linesNoneDue(n))
            bytes += l;
    } else {
        bytes = joinLines(realisticLines(n));
    }
    return cache.emplace(n, std::move(bytes)).first->second;
}

// Anonymous memory, unmapped at the end; aligned to 2 MB so that huge pages can back it.
class Mapping {
public:
    explicit Mapping(size_t size, bool hugePages) : size_((size + kHugePage - 1) / kHugePage * kHugePage)
    {
        raw_ = mmap(nullptr, size_ + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw_ == MAP_FAILED)
            throw std::runtime_error("mmap failed");
        auto p = reinterpret_cast<uintptr_t>(raw_);
        data_ = reinterpret_cast<char*>((p + kHugePage - 1) / kHugePage * kHugePage);
        if (hugePages)
            madvise(data_, size_, MADV_HUGEPAGE);
    }
    ~Mapping() { munmap(raw_, size_ + kHugePage); }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    char* data() const { return data_; }
    void touch() const { std::memset(data_, 1, size_); }

private:
    size_t size_;
    void* raw_ = nullptr;
    char* data_ = nullptr;
};

void MemoryLimit_Scan(benchmark::State& state)
{
    const std::string& bytes = bytesFor(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const void* hit = std::memchr(bytes.data(), '\0', bytes.size());
        benchmark::DoNotOptimize(hit);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(MemoryLimit_Scan)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

void MemoryLimit_Memcpy(benchmark::State& state)
{
    const std::string& bytes = bytesFor(static_cast<size_t>(state.range(0)));
    Mapping target(bytes.size(), false);
    target.touch();
    for (auto _ : state) {
        std::memcpy(target.data(), bytes.data(), bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(MemoryLimit_Memcpy)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

void MemoryLimit_TouchEveryLine(benchmark::State& state)
{
    const auto& lines = linesNoneDue(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        unsigned sum = 0;
        for (const auto& l : lines)
            sum += static_cast<unsigned char>(l[42]); // the executed flag
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(lines.size()));
}
BENCHMARK(MemoryLimit_TouchEveryLine)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

enum class Target { Prefaulted, FreshMemory, HugePages };

void readFile(benchmark::State& state, Target target)
{
    const std::string& bytes = bytesFor(static_cast<size_t>(state.range(0)));
    TempDir dir;
    const auto path = dir.path() / "termine.dat";
    {
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("cannot write the file");
        close(fd);
    }
    auto kept = std::make_unique<Mapping>(bytes.size(), false);
    if (target == Target::Prefaulted)
        kept->touch();
    for (auto _ : state) {
        std::unique_ptr<Mapping> fresh;
        if (target != Target::Prefaulted) {
            state.PauseTiming();
            kept.reset();
            fresh = std::make_unique<Mapping>(bytes.size(), target == Target::HugePages);
            state.ResumeTiming();
        }
        char* into = fresh ? fresh->data() : kept->data();
        int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t got = read(fd, into + done, bytes.size() - done);
            if (got <= 0)
                break;
            done += static_cast<size_t>(got);
        }
        close(fd);
        benchmark::ClobberMemory();
        if (done != bytes.size())
            state.SkipWithError("short read");
        if (fresh) {
            state.PauseTiming();
            fresh.reset(); // unmapping is not part of reading
            state.ResumeTiming();
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void MemoryLimit_ReadFile_Prefaulted(benchmark::State& state) { readFile(state, Target::Prefaulted); }
void MemoryLimit_ReadFile_FreshMemory(benchmark::State& state) { readFile(state, Target::FreshMemory); }
void MemoryLimit_ReadFile_HugePages(benchmark::State& state) { readFile(state, Target::HugePages); }
BENCHMARK(MemoryLimit_ReadFile_Prefaulted)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MemoryLimit_ReadFile_FreshMemory)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MemoryLimit_ReadFile_HugePages)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zw::bench
