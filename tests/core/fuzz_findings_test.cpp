// Faults that fuzzing found (fuzz/), each pinned down by the smallest case that shows it.
#include "common/file_io.h"
#include "common/zeitwache_error.h"
#include "data_dir.h"
#include "manager/appointment_editor.h"
#include "settings/ini_file.h"
#include "test_clock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>

namespace fs = std::filesystem;

namespace {

class FuzzFindingsIni : public ::testing::Test {
protected:
    zw::testing::DataDir dir_;
    fs::path path_ = dir_ / "Zeitwache.ini";
};

// writeText trims the names it is given; reading with the same names must find the key.
TEST_F(FuzzFindingsIni, NamesWithBlanksAroundReadWhatTheyWrote)
{
    const zw::IniFile ini(path_);
    ini.writeText(" Clock\t", " Status ", "Back");
    EXPECT_EQ(zw::readWholeFile(path_), "[Clock]\r\nStatus=Back\r\n");
    EXPECT_EQ(ini.readText(" Clock\t", " Status ", "-"), "Back");
    EXPECT_EQ(ini.readText("clock", "\tstatus", "-"), "Back");
    EXPECT_EQ(ini.readInteger(" Clock", "Status ", 7), 7);
}

// A file whose first line end is LF and whose last line ends in a bare CR: the blank line
// before an appended section must not join that CR into one CR LF.
TEST_F(FuzzFindingsIni, AnAppendedSectionKeepsTheBareCrBeforeIt)
{
    ASSERT_TRUE(zw::writeFileAtomically(path_, "a=1\nb=2\r"));
    const zw::IniFile ini(path_);
    ini.writeText("Clock", "Status", "Top");
    EXPECT_EQ(zw::readWholeFile(path_), "a=1\nb=2\r\r\n[Clock]\nStatus=Top\n");
}

// A file whose first line end is a bare CR: a key added before an empty line ending in LF
// must not join that LF into one CR LF.
TEST_F(FuzzFindingsIni, AnAddedKeyKeepsTheEmptyLineAfterIt)
{
    ASSERT_TRUE(zw::writeFileAtomically(path_, "[Clock]\rA=1\n\n[Other]\rB=2\r"));
    const zw::IniFile ini(path_);
    ini.writeText("Clock", "Status", "Top");
    EXPECT_EQ(zw::readWholeFile(path_), "[Clock]\rA=1\nStatus=Top\r\n\n[Other]\rB=2\r");
}

// A year of three or four digits below 100 is a valid date on the page, but the line's
// writer would store it in the current century: 02.01.002 must not become 02.01.2002.
TEST(FuzzFindingsEditor, AYearBelow100IsNotStoredAsAnotherYear)
{
    zw::testing::TestClock clock({{2026, 12, 8}, {9, 5, 0}});
    zw::AppointmentList list;
    zw::AppointmentEditor editor(list, clock, {"(Kein)"});
    editor.reset();
    editor.changeField(zw::EditorField::Year, "002");
    ASSERT_EQ(editor.text(zw::EditorField::Year), "002");
    editor.setMessage("x");
    std::variant<std::string, zw::StoreRefusal> result;
    try {
        result = editor.lineToStore();
    } catch (const zw::ZeitwacheError&) {
        return; // refused with the conversion error: nothing stored
    }
    ASSERT_TRUE(std::holds_alternative<std::string>(result));
    EXPECT_EQ(zw::line::dateField(std::get<std::string>(result)), "08.12.0002");
}

} // namespace
