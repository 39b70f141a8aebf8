#include "common/file_io.h"
#include "data_dir.h"
#include "file_size_limit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

using namespace zw;
namespace fs = std::filesystem;

namespace {

struct FileIoTest : ::testing::Test {
    zw::testing::DataDir dir;
    void SetUp() override { fs::create_directories(dir / "echt"); }
    std::string content(const fs::path& p) { return readWholeFile(p).value_or("<missing>"); }
    void put(const fs::path& p, const std::string& bytes) { ASSERT_TRUE(writeFileAtomically(p, bytes)); }
    std::vector<std::string> names(const fs::path& sub = {})
    {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir / sub))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

} // namespace

TEST_F(FileIoTest, TheReplacedFilesPermissionBitsStayAndANewFileHonoursTheUmask)
{
    const fs::path p = dir / "termine.dat";
    for (auto bits : {fs::perms(0600), fs::perms(0640), fs::perms(0755)}) {
        put(p, "alt");
        fs::permissions(p, bits);
        put(p, "neu");
        EXPECT_EQ(fs::status(p).permissions(), bits) << std::oct << static_cast<int>(bits);
    }
    const mode_t previous = ::umask(027);
    put(dir / "neu.dat", "x");
    ::umask(previous);
    EXPECT_EQ(fs::status(dir / "neu.dat").permissions(), fs::perms(0640));
}

TEST_F(FileIoTest, ALinkStaysALinkAndTheFileItFinallyNamesIsWritten)
{
    const fs::path link = dir / "termine.dat";
    fs::create_symlink("echt/c.dat", dir / "kette");
    struct Case {
        fs::path linkTarget; // relative to the link's directory unless absolute
        fs::path written;
        bool targetExists;
    } cases[] = {
        {"echt/a.dat", dir / "echt/a.dat", true},
        {dir / "echt/b.dat", dir / "echt/b.dat", true},
        {"kette", dir / "echt/c.dat", true},           // a chain of links
        {"echt/neu.dat", dir / "echt/neu.dat", false}, // dangling: the target is made
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.linkTarget);
        if (c.targetExists)
            put(c.written, "alt");
        fs::remove(link);
        fs::create_symlink(c.linkTarget, link);
        ASSERT_TRUE(writeFileAtomically(link, "neu"));
        EXPECT_EQ(fs::read_symlink(link), c.linkTarget);
        EXPECT_EQ(content(c.written), "neu");
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"echt", "kette", "termine.dat"}));
    EXPECT_EQ(names("echt"), (std::vector<std::string>{"a.dat", "b.dat", "c.dat", "neu.dat"}));

    fs::remove(link);
    fs::create_symlink("termine.dat", link); // a loop
    EXPECT_FALSE(writeFileAtomically(link, "neu"));
}

TEST_F(FileIoTest, AFailedWriteLeavesTheOldContentAndNoTemporaryFile)
{
    put(dir / "echt/termine.dat", "alt");
    {
        const zw::testing::FileSizeLimit full(1);
        EXPECT_FALSE(writeFileAtomically(dir / "echt/termine.dat", "neuer Inhalt"));
    }
    EXPECT_EQ(content(dir / "echt/termine.dat"), "alt");
    EXPECT_EQ(names("echt"), std::vector<std::string>{"termine.dat"});
}

TEST_F(FileIoTest, OnlyTheLeftoverOfASaveKilledMidwayIsRemoved)
{
    put(dir / "termine.dat", "alt");
    const pid_t killed = ::fork();
    if (killed == 0) { // killed by SIGXFSZ at its first byte
        rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none);
        setrlimit(RLIMIT_FSIZE, &none);
        (void)writeFileAtomically(dir / "termine.dat", "neu");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(killed, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(names().size(), 3u); // echt, termine.dat and the leftover

    const auto ours = [](const std::string& file, const std::string& pid, const char* random = "0123abcd") {
        std::string name(1, '.');
        name += file;
        name += ".zw-tmp-";
        name += pid;
        name += '-';
        return name + random;
    };
    const std::string gone = std::to_string(killed);
    const std::vector<std::string> kept = {
        ours("termine.dat", std::to_string(::getpid())),  // this process's own
        ours("termine.dat", std::to_string(::getppid())), // a running process's
        ours("termine.v22", gone),                        // another file's
        ours("termine.dat", gone, "0123abc"),             // not exactly our pattern
        ours("termine.dat", gone, "0123ABCD"),
        ours("termine.dat", gone) + ".bak",
        ours("termine.dat", gone).substr(1),
        ours("termine.dat", std::string(1, '0') + gone),
        ours("termine.dat", "0"),
    };
    for (const auto& name : kept)
        put(dir / name, "fremd");
    fs::create_directory(dir / ours("termine.dat", gone, "99999999")); // not a plain file

    EXPECT_EQ(removeStaleTemporaryFiles(dir / "termine.dat"), 1u);
    EXPECT_EQ(names().size(), kept.size() + 3);
    for (const auto& name : kept)
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_EQ(content(dir / "termine.dat"), "alt");
}
