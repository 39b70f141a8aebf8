#pragma once
// Large lists of appointment lines that look like a real user's file, for the benchmarks.
#include "common/civil_time.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace zw::bench {

inline constexpr int kCurrentYear = 2026;
// The minute the due-check benchmarks run at: a Sunday morning at an odd minute.
inline const LocalDateTime kCheckTime{{2026, 12, 6}, {10, 17, 0}};

// n lines in date order: dates from 2016 to 2035, most with a time, all repeat kinds,
// messages of 10 to 80 bytes (Windows-1252 umlauts included), some applications and
// sounds. Lines that lie before kCheckTime and ask to be shown late are marked executed,
// as they would be in a file the program has been keeping. The same n and seed give the
// same lines, laid out in memory as loading them would (see asLoaded).
std::vector<std::string> realisticLines(size_t n, unsigned seed = 1);

// The lines as the program holds them after start-up: read from the file's bytes one
// after the other, so that they also lie one after the other in memory. A list whose
// lines were allocated in another order scans several times slower (a cache miss per
// line), which would measure the generator rather than the program.
std::vector<std::string> asLoaded(const std::vector<std::string>& lines);

// The same lines allocated in a shuffled order, so that they lie scattered in memory as
// after a long session of stores and edits without a restart.
std::vector<std::string> scatteredInMemory(const std::vector<std::string>& lines);

// Like realisticLines, but without any line that a due check at kCheckTime would carry
// out, even in the first run of the day (which announces the day's appointments without
// time). Built once per n and kept.
const std::vector<std::string>& linesNoneDue(size_t n);

// The date-time value (minutes) of every line, as the store orders by it.
std::vector<long long> dateTimeValues(const std::vector<std::string>& lines);

// A fresh directory under the system's temporary directory (on the machine's disk here),
// removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace zw::bench
