#include "common/zeitwache_error.h"
#include "data_dir.h"
#include "file_size_limit.h"
#include "store/data_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zw;
namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write(const fs::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(DataFileLines, AllLineEndsGiveTheSameList)
{
    Lines expected{"eins", "zwei", "drei"};
    EXPECT_EQ(splitLines("eins\r\nzwei\r\ndrei\r\n"), expected);
    EXPECT_EQ(splitLines("eins\nzwei\ndrei\n"), expected);
    EXPECT_EQ(splitLines("eins\rzwei\rdrei\r"), expected);
    EXPECT_EQ(splitLines("eins\r\nzwei\ndrei"), expected); // last line without line end
}

TEST(DataFileLines, EmptyLinesAreKeptAndByteZeroEndsTheFile)
{
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("\r\n"), Lines{""});
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\n\rb"), (Lines{"a", "", "b"})); // LF then CR are two line ends
    EXPECT_EQ(splitLines(std::string("a\r\nb\0c\r\nd", 9)), (Lines{"a", "b"}));
}

TEST(DataFileLines, ContentInPiecesGivesTheLinesOfTheWhole)
{
    const std::vector<std::string> contents{
        "eins\r\nzwei\r\ndrei\r\n", "a\rb\nc\r\n\r\nd", "a\n\rb\r", "\r\n\r\n", "ohne Ende",
        std::string("a\r\nb\0c\r\nd", 9), std::string("\r\0\n", 3)};
    for (const std::string& content : contents) {
        const Lines whole = splitLines(content);
        const auto nul = content.find('\0');
        auto check = [&](const std::vector<std::string_view>& pieces, const std::string& how) {
            Lines lines;
            LineSplitter splitter(lines);
            for (std::string_view piece : pieces)
                if (!splitter.feed(piece))
                    break;
            splitter.finish();
            EXPECT_EQ(lines, whole) << how;
            EXPECT_EQ(splitter.unreadableFrom(), nul == std::string::npos ? std::nullopt : std::optional(nul))
                << how;
        };
        const std::string_view all(content);
        for (size_t cut = 0; cut <= all.size(); ++cut)
            check({all.substr(0, cut), all.substr(cut)}, "cut at " + std::to_string(cut));
        std::vector<std::string_view> bytes;
        for (size_t i = 0; i < all.size(); ++i)
            bytes.push_back(all.substr(i, 1));
        check(bytes, "byte by byte");
    }
}

TEST(DataFileLines, AFileLargerThanOneReadIsReadWhole)
{
    zw::testing::DataDir dir;
    const auto path = dir / "termine.dat";
    // Lines of changing lengths and line ends, so that reads end everywhere in a line and
    // between CR and LF; one line longer than any read.
    std::string content;
    for (int i = 0; content.size() < 2'000'000; ++i)
        content += std::string(static_cast<size_t>(i % 211), 'x') + std::to_string(i) + (i % 3 == 0 ? "\n" : "\r\n");
    content += std::string(700'000, 'y') + "\r\nletzte";
    write(path, content);
    const DataFile::Contents read = DataFile(path).read();
    EXPECT_EQ(read.lines, splitLines(content));
    EXPECT_FALSE(read.unreadableFrom);
    EXPECT_TRUE(read.bytes.empty());

    content[1'500'000] = '\0';
    write(path, content);
    const DataFile::Contents damaged = DataFile(path).read();
    EXPECT_EQ(damaged.unreadableFrom, std::optional<size_t>(1'500'000));
    EXPECT_EQ(damaged.lines, splitLines(content));
    EXPECT_EQ(damaged.bytes, content);
}

TEST(DataFileLines, WritingPutsCrLfAfterEveryLine)
{
    EXPECT_EQ(joinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(joinLines({}), "");
}

TEST(DataFile, RoundTripKeepsWindows1252BytesAndEmptyFileIsZeroBytes)
{
    zw::testing::DataDir dir;
    DataFile file(dir / "termine.dat");
    Lines lines{"[T\xE4glich]", "", "\x80\xFF"};
    file.save(lines);
    EXPECT_EQ(file.load(), lines);
    file.save({});
    EXPECT_EQ(fs::file_size(dir / "termine.dat"), 0u);
    EXPECT_EQ(file.load(), Lines{});
}

TEST(DataFile, FailedWriteKeepsTheOldContentAndNamesThePath)
{
    zw::testing::DataDir dir;
    fs::path target = dir / "termine.dat";
    write(target, "alt\r\n");
    DataFile file(target);
    try {
        const zw::testing::FileSizeLimit full(2);
        file.save({"neu"});
        FAIL() << "the write should fail";
    } catch (const ZeitwacheError& e) {
        EXPECT_EQ(std::string(e.what()), "Kann Datei " + target.string() + " nicht erstellen");
    }
    EXPECT_EQ(contentOf(target), "alt\r\n");
}

TEST(DataFile, MissingFileCannotBeOpened)
{
    zw::testing::DataDir dir;
    DataFile file(dir / "fehlt.dat");
    try {
        file.load();
        FAIL();
    } catch (const ZeitwacheError& e) {
        EXPECT_EQ(std::string(e.what()), "Kann Datei " + (dir / "fehlt.dat").string() + " nicht öffnen");
    }
}
