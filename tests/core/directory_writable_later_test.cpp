// A data directory in which termine.dat could not be created at start-up (read-only, not
// there yet, a full disk) and that becomes writable while the program runs: what the user
// stores must not be dropped without a word, and once there is room it must be saved.
#include "common/zeitwache_error.h"
#include "data_dir.h"
#include "line_builder.h"
#include "recording_executor.h"
#include "scheduler/appointment_book.h"
#include "test_clock.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zw;
namespace fs = std::filesystem;

namespace {

const LocalDateTime kNow{{2026, 12, 6}, {10, 0, 0}};

struct WritableLater : ::testing::Test {
    zw::testing::DataDir base;
    // Not there at start-up: creating termine.dat in it fails as in a read-only directory.
    fs::path dir = base / "daten";
    zw::testing::TestClock clock{kNow};
    zw::testing::RecordingExecutor executor;
    AppointmentList list;
    AppointmentBook book{dir, list, clock, executor};

    void SetUp() override
    {
        // Carries out by removing the line, as an appointment deleted after execution is.
        executor.setDuring([this](const DueAppointment& a) { list.remove(a.index); });
        const auto problem = book.load();
        ASSERT_TRUE(problem) << "creating termine.dat should have failed";
    }
    std::string dataFile() { return base.read("daten/termine.dat"); }
};

const auto kNever = [] { return OverwriteAnswer::No; };

} // namespace

TEST_F(WritableLater, AStoreAfterTheDirectoryBecameWritableIsSaved)
{
    fs::create_directories(dir);
    AppointmentList::TrackedEntry edited(list);
    const std::string line = zw::testing::makeLine({.date = "24.12.2027", .time = "18:30", .message = "Geschenke"});
    book.store(line, edited, kNever);
    EXPECT_EQ(dataFile(), line + "\r\n") << "the appointment was stored in the list but never written";
}

TEST_F(WritableLater, AStoreThatCannotBeWrittenIsNotReportedAsDone)
{
    AppointmentList::TrackedEntry edited(list);
    const std::string line = zw::testing::makeLine({.date = "24.12.2027", .time = "18:30", .message = "Geschenke"});
    // The editor page shows the error of a failed save; a store that returns normally
    // tells the user the appointment is kept.
    EXPECT_THROW(book.store(line, edited, kNever), ZeitwacheError);
    EXPECT_EQ(dataFile(), "<missing>");
}

TEST_F(WritableLater, TheMinuteCheckSavesOnceTheDirectoryIsWritable)
{
    const std::string due = zw::testing::makeLine({.date = "06.12.2026", .time = "10:00", .deleteAfter = true});
    const std::string later = zw::testing::makeLine({.date = "01.01.2027", .time = "09:00", .message = "bleibt"});
    list.assign({due, later});
    fs::create_directories(dir);
    book.dueCheck().run(clock.now());
    EXPECT_EQ(executor.count(), 1u);
    EXPECT_EQ(dataFile(), later + "\r\n") << "the check carried the appointment out but did not save";
}

TEST_F(WritableLater, TheMinuteCheckStaysQuietWhileTheDirectoryCannotBeWritten)
{
    // The start-up box told it once; a failing minute must not throw into the reporter.
    const std::string later = zw::testing::makeLine({.date = "01.01.2027", .time = "09:00", .message = "bleibt"});
    list.assign({later});
    EXPECT_NO_THROW(book.dueCheck().run(clock.now()));
    EXPECT_EQ(dataFile(), "<missing>");
}

TEST(ExistingDataFile, ADirectoryThatTakesNoNewFileIsToldOnceAndTheLinesStay)
{
    // /proc takes no new file, not even from root: the data file links to one there.
    const zw::testing::DataDir dir;
    fs::create_symlink("/proc/version", dir / "termine.dat");
    zw::testing::TestClock clock{kNow};
    zw::testing::RecordingExecutor executor;
    AppointmentList list;
    AppointmentBook book{dir, list, clock, executor};
    const auto problem = book.load();
    EXPECT_NE(problem.value_or("").find("nicht beschreibbar"), std::string::npos);
    EXPECT_EQ(list.count(), 1u);
}
