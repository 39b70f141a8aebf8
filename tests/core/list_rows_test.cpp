#include "line_builder.h"
#include "manager/list_rows.h"

#include <gtest/gtest.h>

using namespace zw;
using zw::testing::makeLine;

TEST(ListRows, ARowShowsTheStoredFieldsUnchangedAndNeverTheApplicationOrSound)
{
    const struct {
        std::string line;
        std::string row;
    } cases[] = {
        {makeLine({.date = "24.12.2027", .time = "18:30", .message = "Geschenke"}),
         " 24.12.2027|18:30|Keine      |Ja  |Geschenke|"},
        {makeLine({.date = "01.03.2028", .time = "", .repeat = line::RepeatKind::Weekly, .active = false,
                   .message = "", .application = "backup.sh", .sound = "gong.wav"}),
         " 01.03.2028|     |W\xF6" "chentlich|Nein||"},
        {"[kaputt", " kaputt|||||"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listRowText(c.line), c.row) << c.line;
}

TEST(ListRows, EditAndPropertiesNeedExactlyOneMarkDeleteAtLeastOne)
{
    const struct {
        size_t marked;
        size_t entries;
        ListCommandStates states;
    } cases[] = {
        {0, 5, {false, false, false}},
        {1, 5, {true, true, true}},
        {2, 5, {false, true, false}},
        {0, 0, {false, false, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(listCommandStates(c.marked, c.entries), c.states) << c.marked << " of " << c.entries;
}
