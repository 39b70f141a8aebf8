#include "settings/clock_settings.h"
#include "settings/ini_file.h"

#include "common/file_io.h"
#include "common/zeitwache_error.h"
#include "data_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void put(const std::string& content) { ASSERT_TRUE(dir_.write("Zeitwache.ini", content)); }
    std::string content() const { return dir_.read("Zeitwache.ini"); }

    zw::testing::DataDir dir_;
    fs::path path_ = dir_ / "Zeitwache.ini";
};

TEST(ParseIniInteger, AcceptsWhatTheSettingsFileAllows)
{
    EXPECT_EQ(zw::parseIniInteger("0x10"), 16);
    EXPECT_EQ(zw::parseIniInteger("0XfF"), 255);
    EXPECT_EQ(zw::parseIniInteger("$1F"), 31);
    EXPECT_EQ(zw::parseIniInteger("  42"), 42);
    EXPECT_EQ(zw::parseIniInteger("+7"), 7);
    EXPECT_EQ(zw::parseIniInteger("-3"), -3);
    EXPECT_EQ(zw::parseIniInteger("007"), 7);
    EXPECT_EQ(zw::parseIniInteger("2147483647"), 2147483647);
    EXPECT_EQ(zw::parseIniInteger("-2147483648"), INT32_MIN);
    // Eight hex digits fit 32 bits and keep their bit pattern.
    EXPECT_EQ(zw::parseIniInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(zw::parseIniInteger("0x000000010"), 16);
}

TEST(ParseIniInteger, RejectsEverythingElse)
{
    for (const char* text : {"", "   ", "0x", "0X", "$", "+", "-", "2147483648", "-2147483649", "99999999999999999999",
                             "$100000000", "yes", "12a", "4 2", "42 ", "1.5", "-$10", " 0x10", "x10", "$G"}) {
        EXPECT_EQ(zw::parseIniInteger(text), std::nullopt) << '"' << text << '"';
    }
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesDefaults)
{
    zw::IniFile ini(path_);
    EXPECT_EQ(ini.readText("Clock", "Status", "Top"), "Top");
    EXPECT_EQ(ini.readInteger("Clock", "UhrposY", -5), -5);
    EXPECT_TRUE(ini.readBool("Clock", "Sichtbar", true));
    EXPECT_FALSE(fs::exists(path_)); // reading never creates the file

    put("[Other]\r\nStatus=Back\r\n");
    EXPECT_EQ(ini.readText("Clock", "Status", "Top"), "Top");
    put("[Clock]\r\nDisplay=LEDRot\r\n");
    EXPECT_EQ(ini.readText("Clock", "Status", "Top"), "Top");
}

TEST_F(IniFileTest, ReadsHandEditedFilesLeniently)
{
    put("; my settings\n"
        "Status=Outside\n"
        "  [ clock ]  ; the clock\n"
        "  uhrposx =  0x10  \n"
        "UHRPOSY\t=\t\"  42\"\n"
        "Status = 'Back'\n"
        "Display = \"LCD\n"
        ";Extendet=1\n"
        "Empty=\n"
        "Status=Second\n"
        "[Other]\n"
        "Sichtbar=1\n"
        "[Clock]\n"
        "Sichtbar=1\n");
    zw::IniFile ini(path_);
    EXPECT_EQ(ini.readInteger("Clock", "UhrposX", 0), 16);
    EXPECT_EQ(ini.readInteger("Clock", "UhrposY", 0), 42);  // quotes kept the blanks, the number skips them
    EXPECT_EQ(ini.readText("Clock", "Status", "Top"), "Back"); // first line of the key wins
    EXPECT_EQ(ini.readText("Clock", "Display", "x"), "\"LCD"); // unmatched quote stays
    EXPECT_FALSE(ini.readBool("Clock", "Extendet", false));     // commented out
    EXPECT_EQ(ini.readText("Clock", "Empty", "default"), "");   // present but empty is not missing
    EXPECT_FALSE(ini.readBool("Clock", "Sichtbar", false));     // only the first [Clock] counts
}

TEST_F(IniFileTest, BooleansAreIntegersWithTheirDefault)
{
    put("[Clock]\r\nTwo=2\r\nYes=yes\r\nZero=0\r\nBig=2147483648\r\n");
    zw::IniFile ini(path_);
    EXPECT_TRUE(ini.readBool("Clock", "Two", false));
    EXPECT_FALSE(ini.readBool("Clock", "Yes", false));
    EXPECT_TRUE(ini.readBool("Clock", "Yes", true));
    EXPECT_FALSE(ini.readBool("Clock", "Zero", true));
    EXPECT_EQ(ini.readInteger("Clock", "Big", 77), 77);
}

TEST_F(IniFileTest, LongTextsAreCutAt1023Characters)
{
    put("[Clock]\nStatus=" + std::string(1500, 'a') + "\n");
    EXPECT_EQ(zw::IniFile(path_).readText("Clock", "Status", ""), std::string(1023, 'a'));
}

TEST_F(IniFileTest, WritingCreatesAFileWithCrLf)
{
    zw::IniFile ini(path_);
    ini.writeBool("Clock", "Sichtbar", true);
    ini.writeInteger("Clock", "UhrposX", -12);
    ini.writeText("Clock", "Status", "Back");
    EXPECT_EQ(content(), "[Clock]\r\nSichtbar=1\r\nUhrposX=-12\r\nStatus=Back\r\n");
    EXPECT_EQ(ini.readInteger("Clock", "UhrposX", 0), -12);
    ini.writeBool("Clock", "Sichtbar", false);
    EXPECT_EQ(content(), "[Clock]\r\nSichtbar=0\r\nUhrposX=-12\r\nStatus=Back\r\n");
}

TEST_F(IniFileTest, WritingOneKeyKeepsEverythingElse)
{
    const std::string before = "; hand-written\n"
                               "[Window]\r\n"
                               "Status=Keep\r\n"
                               "\n"
                               "[clock]\n"
                               "  uhrposx = 5\n"
                               "; do not touch\r\n"
                               "Display=LEDRot\n"
                               "\n"
                               "; trailing comment of Clock\n"
                               "[Other]\n"
                               "UhrposX=99";
    put(before);
    zw::IniFile ini(path_);

    ini.writeInteger("Clock", "UhrposX", 16);
    std::string expected = before;
    expected.replace(expected.find("uhrposx = 5"), 11, "uhrposx = 16");
    EXPECT_EQ(content(), expected);

    // A new key goes after the last key of its section, with the file's first line end.
    ini.writeText("Clock", "Status", "Top");
    expected.insert(expected.find("Display=LEDRot\n") + 15, "Status=Top\n");
    EXPECT_EQ(content(), expected);

    // A missing section is appended; the last line gets a line end first.
    ini.writeBool("New", "Extendet", true);
    expected += "\n\n[New]\nExtendet=1\n";
    EXPECT_EQ(content(), expected);
    EXPECT_EQ(ini.readText("Window", "Status", ""), "Keep");
    EXPECT_EQ(ini.readInteger("Other", "UhrposX", 0), 99);
}

TEST_F(IniFileTest, KeysGoUnderAnEmptySectionAndTheBomStays)
{
    put("\xEF\xBB\xBF[Clock]\r\n\r\n[Other]\r\nA=1\r\n");
    zw::IniFile ini(path_);
    ini.writeText("Clock", "Display", "LEDMatrix");
    EXPECT_EQ(content(), "\xEF\xBB\xBF[Clock]\r\nDisplay=LEDMatrix\r\n\r\n[Other]\r\nA=1\r\n");
    EXPECT_EQ(ini.readText("Clock", "Display", ""), "LEDMatrix");
}

TEST_F(IniFileTest, FailedWriteThrowsWithTheFullPathAndChangesNothing)
{
    // A directory standing where the file should be: it cannot be replaced.
    fs::create_directory(path_);
    zw::IniFile blocked(path_);
    EXPECT_EQ(blocked.readText("Clock", "Status", "Top"), "Top");
    try {
        blocked.writeText("Clock", "Status", "Back");
        FAIL() << "no error";
    } catch (const zw::ZeitwacheError& e) {
        EXPECT_EQ(std::string(e.what()), "Kann nicht nach " + path_.string() + " schreiben");
    }
    EXPECT_TRUE(fs::is_directory(path_));
    EXPECT_TRUE(fs::is_empty(path_));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1); // no temporary file left

    // A directory that does not exist.
    const fs::path nowhere = dir_ / "missing" / "Zeitwache.ini";
    EXPECT_THROW(zw::IniFile(nowhere).writeBool("Clock", "Sichtbar", true), zw::ZeitwacheError);
}

TEST_F(IniFileTest, ErrorTextNamesTheFullPathForARelativeOne)
{
    const fs::path relative = fs::path("no-such-dir-zw") / "Zeitwache.ini";
    try {
        zw::IniFile(relative).writeInteger("Clock", "UhrposX", 1);
        FAIL() << "no error";
    } catch (const zw::ZeitwacheError& e) {
        EXPECT_EQ(std::string(e.what()), "Kann nicht nach " + (fs::current_path() / relative).string() + " schreiben");
    }
}

TEST_F(IniFileTest, NamesThatWouldBreakTheFileAreRejected)
{
    zw::IniFile ini(path_);
    EXPECT_THROW(ini.writeText("Clock", "A=B", "1"), std::invalid_argument);
    EXPECT_THROW(ini.writeText("Clock", "A", "1\r\n[Evil]"), std::invalid_argument);
    EXPECT_THROW(ini.writeText("Cl]ock", "A", "1"), std::invalid_argument);
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(IniFileTest, ClockSettingsDefaultsAndMeanings)
{
    zw::ClockSettings s(path_);
    EXPECT_EQ(s.left(876), 876);
    EXPECT_EQ(s.top(), 0);
    EXPECT_FALSE(s.visible());
    EXPECT_TRUE(s.staysOnTop());
    EXPECT_EQ(s.display(), "LCD");
    EXPECT_FALSE(s.extended());

    put("[Clock]\r\nStatus=top\r\nSichtbar=2\r\nExtendet=yes\r\nUhrposX=0x10\r\n");
    EXPECT_EQ(s.status(), "top");
    EXPECT_FALSE(s.staysOnTop()); // the comparison is case-sensitive
    EXPECT_TRUE(s.visible());
    EXPECT_FALSE(s.extended());
    EXPECT_EQ(s.left(876), 16);
}

TEST_F(IniFileTest, ClockSettingsWriteOnlyTheirOwnKey)
{
    put("[Clock]\r\nUhrposX=100\r\nUhrposY=200\r\n");
    zw::ClockSettings s(path_);
    s.setVisible(false);
    s.setStaysOnTop(false);
    s.setDisplay("Klappziffer");
    s.setExtended(true);
    EXPECT_EQ(content(), "[Clock]\r\nUhrposX=100\r\nUhrposY=200\r\nSichtbar=0\r\nStatus=Back\r\nDisplay=Klappziffer\r\nExtendet=1\r\n");
    s.setStaysOnTop(true);
    s.setPosition(-7, 3);
    EXPECT_EQ(content(), "[Clock]\r\nUhrposX=-7\r\nUhrposY=3\r\nSichtbar=0\r\nStatus=Top\r\nDisplay=Klappziffer\r\nExtendet=1\r\n");
}

} // namespace
