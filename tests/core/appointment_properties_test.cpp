// The properties dialog's field texts: the line's bytes as stored, untranslated.
#include "common/zeitwache_error.h"
#include "line_builder.h"
#include "manager/appointment_properties.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace zw;
using zw::testing::LineSpec;
using zw::testing::makeLine;

namespace {

struct PropertiesCase {
    const char* name;
    LineSpec fields;
    AppointmentProperties shown;
};
void PrintTo(const PropertiesCase& c, std::ostream* os) { *os << c.name; }

class PropertiesTest : public ::testing::TestWithParam<PropertiesCase> {};

TEST_P(PropertiesTest, ShowsTheStoredBytes)
{
    const AppointmentProperties p = propertiesOf(makeLine(GetParam().fields));
    const AppointmentProperties& e = GetParam().shown;
    EXPECT_EQ(p.date, e.date);
    EXPECT_EQ(p.time, e.time);
    EXPECT_EQ(p.repetition, e.repetition);
    EXPECT_EQ(p.activation, e.activation);
    EXPECT_EQ(p.message, e.message);
    EXPECT_EQ(p.application, e.application);
    EXPECT_EQ(p.sound, e.sound);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PropertiesTest,
    ::testing::Values(
        PropertiesCase{"WithoutTimeFiveBlanks",
                       {.date = "24.12.2026", .time = "", .message = "Geschenke einpacken"},
                       {"24.12.2026", "     ", "Keine      ", "Ja  ", "Geschenke einpacken", "", "(Kein)"}},
        PropertiesCase{"InactiveWeeklyProgramOnly",
                       {.date = "01.03.2027", .time = "07:05", .repeat = line::RepeatKind::Weekly,
                        .active = false, .message = "", .application = "C:\\Tools\\backup.bat"},
                       {"01.03.2027", "07:05", "W\xF6" "chentlich", "Nein", "", "C:\\Tools\\backup.bat", "(Kein)"}},
        PropertiesCase{"BracketsAndBlanksInsideTextsAreContent",
                       {.repeat = line::RepeatKind::Daily, .message = "a] [b ", .application = " x",
                        .sound = "gong.wav"},
                       {"01.01.2027", "10:00", "T\xE4glich    ", "Ja  ", "a] [b ", " x", "gong.wav"}},
        PropertiesCase{"EmptySoundNameStaysEmpty",
                       {.message = "\xC4rger", .sound = ""},
                       {"01.01.2027", "10:00", "Keine      ", "Ja  ", "\xC4rger", "", ""}}),
    [](const auto& param) { return param.param.name; });

TEST(PropertiesErrors, UnreadableLengthIsTheConversionError)
{
    std::string l = makeLine({});
    l[52] = 'x';
    EXPECT_THROW(propertiesOf(l), ZeitwacheError);
}

} // namespace
