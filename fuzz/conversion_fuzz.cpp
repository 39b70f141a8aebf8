// Feeds arbitrary bytes as termine.dat in a directory of its own through what the program
// does at start: loading the file (a copy kept of one that holds a byte 0) and the first
// due check, which converts the lines of the older layout when it fails on them. Checks
// what the directory holds afterwards: the data file is what the list says, the copy of
// the older file is the list as it stood before the conversion, nothing else was written.
#include "fuzz_support.h"

#include "common/civil_time.h"
#include "common/file_io.h"
#include "common/zeitwache_error.h"
#include "scheduler/appointment_book.h"
#include "scheduler/due_check.h"
#include "store/appointment_line.h"
#include "store/appointment_list.h"
#include "store/conversion.h"
#include "store/data_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace zw;
namespace fs = std::filesystem;

class FixedClock : public Clock {
public:
    LocalDateTime now() const override { return {{2026, 12, 6}, {10, 0, 0}}; }
};

// Carries out as the program does, Executed set and the line deleted when it asks for
// it, and remembers the list after each appointment: a backup taken later must show it.
class RecordingExecutor : public AppointmentExecutor {
public:
    explicit RecordingExecutor(AppointmentList& list) : list_(list) {}

    std::vector<std::string> lastSeen;
    int carried = 0;

    void carryOut(const DueAppointment& a) override
    {
        FUZZ_CHECK(a.index < list_.count());
        std::string marked = list_.get(a.index);
        line::setFlag(marked, line::kExecuted, '1');
        list_.put(a.index, marked);
        if (a.deleteFlag == '1')
            list_.remove(a.index);
        lastSeen = list_.lines();
        ++carried;
    }

private:
    AppointmentList& list_;
};

void writeRaw(const fs::path& path, std::string_view content)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size()));
    ::close(fd);
}

std::vector<std::string> namesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool everyLineReads(const std::vector<std::string>& lines, int year)
{
    try {
        for (const auto& l : lines) {
            (void)line::readDate(l, year);
            (void)line::readTimeMinutes(l);
            (void)line::readTexts(l);
        }
    } catch (const ZeitwacheError&) {
        return false;
    }
    return true;
}

void fuzzOne(std::string_view content)
{
    fuzz::clearScratchDirectory();
    const fs::path dir = fuzz::scratchDirectory();
    const fs::path dataPath = dir / "termine.dat";
    writeRaw(dataPath, content);
    const std::vector<std::string> loaded = splitLines(content);
    const bool hasZero = content.find('\0') != std::string_view::npos;

    AppointmentList list;
    FixedClock clock;
    RecordingExecutor executor(list);
    AppointmentBook book(dir, list, clock, executor);

    const std::optional<std::string> problem = book.load();
    // Told only of the byte 0, with a byte-exact copy beside the file.
    FUZZ_CHECK(problem.has_value() == hasZero);
    FUZZ_CHECK(list.lines() == loaded);
    if (hasZero) {
        FUZZ_CHECK(problem->find("termine.dat.beschaedigt") != std::string::npos);
        FUZZ_CHECK(readWholeFile(dir / "termine.dat.beschaedigt") == std::string(content));
    }
    FUZZ_CHECK(readWholeFile(dataPath) == std::string(content)); // loading writes nothing

    const bool hadOlder = std::any_of(loaded.begin(), loaded.end(), isOlderLayoutLine);
    const AppointmentBook::FirstCheck first = book.runFirstCheck();
    const std::vector<std::string> beforeConversion = executor.carried > 0 ? executor.lastSeen : loaded;

    // A line of the older layout always stops the check (its lengths are not where the
    // current reader looks), so it is always converted.
    FUZZ_CHECK(first.converted == hadOlder);
    if (first.converted) {
        FUZZ_CHECK(!first.error.has_value());
        FUZZ_CHECK(readWholeFile(dir / "termine.v22") == joinLines(beforeConversion));
        FUZZ_CHECK(list.count() == beforeConversion.size());
        for (size_t i = 0; i < list.count(); ++i) {
            std::string expected = beforeConversion[i];
            if (isOlderLayoutLine(expected))
                expected.insert(40, "[0000000] ");
            FUZZ_CHECK(list.get(i) == expected);
            FUZZ_CHECK(!isOlderLayoutLine(list.get(i)));
        }
    } else {
        FUZZ_CHECK(!fs::exists(dir / "termine.v22"));
        // The check ran to its end, or stopped at a line it cannot read.
        FUZZ_CHECK(first.error.has_value() == !everyLineReads(beforeConversion, 2026));
        if (first.error)
            FUZZ_CHECK(list.lines() == beforeConversion);
    }
    // Saved whenever the list was saved at all: after a complete check or a conversion.
    if (first.converted || !first.error)
        FUZZ_CHECK(readWholeFile(dataPath) == joinLines(list.lines()));
    else
        FUZZ_CHECK(readWholeFile(dataPath) == std::string(content));

    // Nothing but the file, its copies and no leftovers of saves.
    for (const std::string& name : namesIn(dir))
        FUZZ_CHECK(name == "termine.dat" || name == "termine.v22" || name == "termine.dat.beschaedigt");

    // Converted once is converted for good.
    const std::vector<std::string> after = list.lines();
    const std::string onDisk = readWholeFile(dataPath).value_or("");
    const AppointmentBook::FirstCheck second = book.runFirstCheck();
    FUZZ_CHECK(!second.converted);
    if (second.error)
        FUZZ_CHECK(readWholeFile(dataPath) == onDisk);

    // The next start reads the same list back; a byte 0 is still there only when nothing
    // could be saved over it, and its copy is the one kept before.
    const std::string finalContent = readWholeFile(dataPath).value_or("");
    AppointmentList again;
    RecordingExecutor idle(again);
    AppointmentBook next(dir, again, clock, idle);
    FUZZ_CHECK(next.load().has_value() == (finalContent.find('\0') != std::string::npos));
    FUZZ_CHECK(again.lines() == splitLines(finalContent));
    FUZZ_CHECK(!fs::exists(dir / "termine.dat.beschaedigt.1"));
    if (first.converted || !first.error)
        FUZZ_CHECK(again.lines() == (second.error ? after : list.lines()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zw::fuzz::runOne(fuzzOne, data, size);
}
