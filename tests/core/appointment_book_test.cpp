#include "common/file_io.h"
#include "common/zeitwache_error.h"
#include "data_dir.h"
#include "file_size_limit.h"
#include "line_builder.h"
#include "recording_executor.h"
#include "scheduler/appointment_book.h"
#include "test_clock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zw;
namespace fs = std::filesystem;

namespace {

struct BookFixture : ::testing::Test {
    zw::testing::DataDir dir;
    zw::testing::TestClock clock{{{2026, 12, 6}, {10, 0, 0}}};
    zw::testing::RecordingExecutor executor;
    AppointmentList list;
};

std::string older(const std::string& current) { return current.substr(0, 40) + current.substr(50); }

} // namespace

TEST_F(BookFixture, FirstStartCreatesAnEmptyDataFile)
{
    AppointmentBook book(dir, list, clock, executor);
    EXPECT_FALSE(book.load());
    EXPECT_EQ(dir.read("termine.dat"), "");
    auto first = book.runFirstCheck();
    EXPECT_FALSE(first.converted);
    EXPECT_FALSE(first.error);
}

TEST_F(BookFixture, OlderFileIsConvertedWithABackup)
{
    std::string a = zw::testing::makeLine({.date = "06.12.2026", .time = "10:00", .message = "eins"});
    std::string b = zw::testing::makeLine({.date = "07.12.2026", .time = "", .message = "zwei"});
    const std::string oldContent = older(a) + "\r\n" + older(b) + "\r\n";
    ASSERT_TRUE(dir.write("termine.dat", oldContent));
    AppointmentBook book(dir, list, clock, executor);
    EXPECT_FALSE(book.load());
    auto first = book.runFirstCheck();
    EXPECT_TRUE(first.converted);
    EXPECT_EQ(dir.read("termine.v22"), oldContent);
    EXPECT_EQ(dir.read("termine.dat"), a + "\r\n" + b + "\r\n");
    EXPECT_EQ(executor.count(), 0u); // the failed check carried nothing out
}

TEST_F(BookFixture, DamagedCurrentFileIsReportedNotConverted)
{
    std::string good = zw::testing::makeLine({.date = "06.12.2026", .time = "10:00"});
    const std::string content = good + "\r\n[kaputt\r\n";
    ASSERT_TRUE(dir.write("termine.dat", content));
    AppointmentBook book(dir, list, clock, executor);
    book.load();
    auto first = book.runFirstCheck();
    EXPECT_FALSE(first.converted);
    ASSERT_TRUE(first.error);
    EXPECT_EQ(*first.error, "'kaputt' ist kein gültiges Datum");
    EXPECT_EQ(dir.read("termine.dat"), content);
    EXPECT_EQ(dir.read("termine.v22"), "<missing>");
    EXPECT_EQ(executor.count(), 1u); // the line before the damaged one was carried out
}

TEST_F(BookFixture, UnreadableDataFileIsNeverOverwritten)
{
    // A directory in the data file's place exists but cannot be read as a file.
    fs::create_directory(dir / "termine.dat");
    fs::path marker = dir / "termine.dat" / "inhalt";
    ASSERT_TRUE(writeFileAtomically(marker, "bleibt"));
    AppointmentBook book(dir, list, clock, executor);
    auto problem = book.load();
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("kann aber nicht gelesen werden"), std::string::npos);
    EXPECT_FALSE(book.runFirstCheck().error);
    EXPECT_TRUE(fs::is_directory(dir / "termine.dat"));
    EXPECT_EQ(readWholeFile(marker).value_or(""), "bleibt");
}

TEST_F(BookFixture, DirectoryThatCannotBeWrittenIsToldOnceAndStartUpGoesOn)
{
    fs::path missing = dir / "gibt-es-nicht";
    AppointmentBook book(missing, list, clock, executor);
    auto problem = book.load();
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->rfind("Kann Datei " + (missing / "termine.dat").string() + " nicht erstellen.", 0), 0u);
    EXPECT_FALSE(book.runFirstCheck().error);
}

TEST_F(BookFixture, AStoreHoldsBackTheDueCheckThatItsOverwriteQueryLetsThrough)
{
    // Carries out by removing the line, as an appointment deleted after execution is.
    executor.setDuring([&](const DueAppointment& a) { list.remove(a.index); });
    AppointmentBook book(dir, list, clock, executor);
    ASSERT_FALSE(book.load());
    // Due now and removed when carried out: it moves every later position up by one.
    const std::string due = zw::testing::makeLine({.date = "06.12.2026", .time = "10:00", .deleteAfter = true});
    const std::string target = zw::testing::makeLine({.date = "01.01.2027", .time = "09:00", .message = "alt"});
    const std::string other = zw::testing::makeLine({.date = "01.01.2027", .time = "11:00", .message = "bleibt"});
    list.assign({due, target, other});

    AppointmentList::TrackedEntry edited(list);
    int queries = 0;
    const auto result = book.store(zw::testing::makeLine({.date = "01.01.2027", .time = "09:00", .message = "neu"}),
                                   edited, [&] {
                                       ++queries;
                                       // The box's nested event loop lets the minute tick in.
                                       book.dueCheck().tick();
                                       return OverwriteAnswer::Yes;
                                   });

    EXPECT_EQ(result, AppointmentList::StoreResult::Stored);
    EXPECT_EQ(queries, 1);
    ASSERT_EQ(list.count(), 2u);
    EXPECT_NE(list.get(0).find("neu"), std::string::npos);
    EXPECT_EQ(list.get(1), other);
    EXPECT_EQ(edited.position(), 0u);
    EXPECT_EQ(dir.read("termine.dat"), list.get(0) + "\r\n" + other + "\r\n");
}

TEST_F(BookFixture, AFailedSaveLeavesTheStoredLineTrackedSoTheNextStoreReplacesIt)
{
    AppointmentBook book(dir, list, clock, executor);
    ASSERT_FALSE(book.load());
    AppointmentList::TrackedEntry edited(list);
    fs::remove_all(dir);
    const auto never = [] { return OverwriteAnswer::No; };
    EXPECT_THROW(book.store(zw::testing::makeLine({.message = "erst"}), edited, never), ZeitwacheError);
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(edited.position(), 0u);
    fs::create_directories(dir);
    book.store(zw::testing::makeLine({.message = "dann"}), edited, never);
    ASSERT_EQ(list.count(), 1u);
    EXPECT_NE(list.get(0).find("dann"), std::string::npos);
}

TEST_F(BookFixture, RemovingEntriesRemovesExactlyThoseAndWritesTheFile)
{
    AppointmentBook book(dir, list, clock, executor);
    ASSERT_FALSE(book.load());
    const std::string a = zw::testing::makeLine({.date = "01.01.2027", .time = "08:00", .message = "a"});
    const std::string b = zw::testing::makeLine({.date = "01.01.2027", .time = "09:00", .message = "b"});
    const std::string c = zw::testing::makeLine({.date = "01.01.2027", .time = "10:00", .message = "c"});
    list.assign({a, b, c});
    book.removeEntries({0, 2});
    EXPECT_EQ(list.lines(), std::vector<std::string>{b});
    EXPECT_EQ(dir.read("termine.dat"), b + "\r\n");
}

namespace {
const std::string kReadable = zw::testing::makeLine({.message = "vorher"}) + "\r\n";
// Everything after the byte 0 is what a save of the list read would lose.
const std::string kDamaged = kReadable + std::string(1, '\0') + "Rest\r\n" +
                             zw::testing::makeLine({.message = "nachher"}) + "\r\n";
} // namespace

TEST_F(BookFixture, AFileWithAByteZeroIsCopiedWholeBeforeItsShorterListIsSaved)
{
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> before; // older copies: name, content
        std::string copy;                                        // the one the notice names
        bool made;                                               // by this load
    } cases[] = {
        {"first damage", {}, "termine.dat.beschaedigt", true},
        {"an older copy stays", {{"termine.dat.beschaedigt", "alt"}}, "termine.dat.beschaedigt.1", true},
        {"the same damage again",
         {{"termine.dat.beschaedigt", "alt"}, {"termine.dat.beschaedigt.1", kDamaged}},
         "termine.dat.beschaedigt.1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir);
        fs::create_directories(dir);
        ASSERT_TRUE(dir.write("termine.dat", kDamaged));
        fs::permissions(dir / "termine.dat", fs::perms(0600));
        for (const auto& [name, content] : c.before)
            ASSERT_TRUE(dir.write(name, content));
        AppointmentList fresh;
        AppointmentBook book(dir, fresh, clock, executor);
        const auto notice = book.load();
        ASSERT_TRUE(notice);
        std::string expected = "Die Datei „termine.dat“ enthält ab Byte ";
        expected += std::to_string(kReadable.size());
        expected += " unlesbare Daten. Zeitwache liest sie nur bis dorthin. Eine vollständige Kopie der Datei "
                    "liegt unter „";
        expected += (fs::absolute(dir) / c.copy).string();
        EXPECT_EQ(*notice, expected + "“.");
        EXPECT_FALSE(book.runFirstCheck().error);
        EXPECT_EQ(dir.read("termine.dat"), kReadable); // read up to the byte 0, as always
        EXPECT_EQ(dir.read(c.copy), kDamaged);
        if (c.made) { // as private as the file
            EXPECT_EQ(fs::status(dir / c.copy).permissions() & fs::perms::mask, fs::perms(0600));
        }
        for (const auto& [name, content] : c.before)
            EXPECT_EQ(dir.read(name), content);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
                  static_cast<long>(1 + c.before.size() + c.made));
    }
}

TEST_F(BookFixture, AByteZeroFileWhoseCopyCannotBeWrittenIsNeverOverwritten)
{
    ASSERT_TRUE(dir.write("termine.dat", kDamaged));
    AppointmentBook book(dir, list, clock, executor);
    std::optional<std::string> notice;
    {
        const zw::testing::FileSizeLimit full(kReadable.size());
        notice = book.load();
    }
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->find("nicht überschrieben"), std::string::npos) << *notice;
    EXPECT_FALSE(book.runFirstCheck().error);
    book.removeEntries({0});
    EXPECT_EQ(dir.read("termine.dat"), kDamaged);
    EXPECT_EQ(dir.read("termine.dat.beschaedigt"), "<missing>");
}

TEST_F(BookFixture, LoadingRemovesWhatKilledSavesOfEarlierRunsLeftBehind)
{
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string suffix = std::string(".zw-tmp-") + std::to_string(gone) + "-00ff00ff";
    for (const char* leftover : {".termine.dat", ".termine.v22", "termine.dat"})
        ASSERT_TRUE(dir.write(leftover + suffix, "halb"));
    AppointmentBook book(dir, list, clock, executor);
    EXPECT_FALSE(book.load());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2); // termine.dat and
    EXPECT_EQ(dir.read("termine.dat" + suffix), "halb");                                    // the foreign one
}

// The minute's check saves after every run; the file is rewritten only when it would
// change: the list changed, another program changed the file, or its line ends differ.
TEST_F(BookFixture, TheMinutesSaveRewritesTheFileOnlyWhenItWouldChange)
{
    auto inode = [this] {
        struct stat st {};
        EXPECT_EQ(::stat((dir / "termine.dat").c_str(), &st), 0);
        return st.st_ino;
    };
    const std::string a = zw::testing::makeLine({.date = "06.01.2027", .time = "10:00", .message = "eins"});
    const std::string b = zw::testing::makeLine({.date = "07.01.2027", .time = "", .message = "zwei"});
    const std::string exact = a + "\r\n" + b + "\r\n";
    ASSERT_TRUE(dir.write("termine.dat", exact));
    AppointmentBook book(dir, list, clock, executor);
    EXPECT_FALSE(book.load());
    const auto loaded = inode();
    EXPECT_FALSE(book.runFirstCheck().error);
    book.dueCheck().run(clock.now());
    EXPECT_EQ(inode(), loaded) << "a file that holds the list already was written again";

    list.put(1, a);
    list.save();
    EXPECT_NE(inode(), loaded);
    EXPECT_EQ(dir.read("termine.dat"), a + "\r\n" + a + "\r\n");

    ASSERT_TRUE(dir.write("termine.dat", "von einem anderen Programm\r\n"));
    book.dueCheck().run(clock.now());
    EXPECT_EQ(dir.read("termine.dat"), a + "\r\n" + a + "\r\n");

    ASSERT_TRUE(dir.write("termine.dat", a + "\n" + b));
    AppointmentList other;
    AppointmentBook again(dir, other, clock, executor);
    EXPECT_FALSE(again.load());
    EXPECT_FALSE(again.runFirstCheck().error);
    EXPECT_EQ(dir.read("termine.dat"), exact);
}
