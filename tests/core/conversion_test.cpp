#include "line_builder.h"
#include "store/conversion.h"

#include <gtest/gtest.h>

using namespace zw;

namespace {
// The older layout is the current one without "[0000000] " at position 41.
std::string older(const std::string& current) { return current.substr(0, 40) + current.substr(50); }
} // namespace

TEST(Conversion, TwoOlderLinesBackupOnceAndGainTheFlagField)
{
    std::string a = zw::testing::makeLine({.date = "01.02.2027", .message = "eins"});
    std::string b = zw::testing::makeLine({.date = "02.02.2027", .time = "", .message = "zwei"});
    AppointmentList list;
    list.assign({older(a), older(b)});
    int saves = 0;
    list.setSaver([&](const auto&) { ++saves; });
    std::vector<std::vector<std::string>> backups;
    EXPECT_EQ(convertOlderLayout(list, [&](const auto& lines) { backups.push_back(lines); }), 2u);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0], (std::vector<std::string>{older(a), older(b)}));
    for (size_t i = 0; i < 2; ++i) {
        const std::string& l = list.get(i);
        EXPECT_EQ(l.substr(40, 10), "[0000000] ");
        EXPECT_EQ(l.substr(0, 40) + l.substr(50), older(i == 0 ? a : b));
    }
    EXPECT_EQ(saves, 1);
}

TEST(Conversion, CurrentAndDamagedLinesAreLeftAlone)
{
    std::string current = zw::testing::makeLine({.message = "neu"});
    std::string old = older(zw::testing::makeLine({.message = "alt"}));
    AppointmentList list;
    list.assign({current, "", "[99.99.9999 kaputt", old});
    int backups = 0;
    EXPECT_EQ(convertOlderLayout(list, [&](const auto&) { ++backups; }), 1u);
    EXPECT_EQ(list.get(0), current);
    EXPECT_EQ(list.get(1), "");
    EXPECT_EQ(list.get(2), "[99.99.9999 kaputt");
    EXPECT_EQ(list.get(3).substr(40, 10), "[0000000] ");

    // Nothing of the older layout: nothing written, no second flag field.
    AppointmentList onlyCurrent;
    onlyCurrent.assign({current, ""});
    EXPECT_EQ(convertOlderLayout(onlyCurrent, [&](const auto&) { ++backups; }), 0u);
    EXPECT_EQ(backups, 1);
    EXPECT_EQ(onlyCurrent.get(0), current);
}
