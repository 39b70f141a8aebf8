// Which appointments "Termine markieren" marks: date and time before now, the two
// choices, a fresh clock reading per entry, damaged lines.
#include "line_builder.h"
#include "manager/expiry.h"
#include "test_clock.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace zw;
using zw::testing::LineSpec;
using zw::testing::makeLine;

namespace {

struct ExpiredCase {
    const char* name;
    LineSpec line;
    LocalDateTime now;
    bool expired;
};
void PrintTo(const ExpiredCase& c, std::ostream* os) { *os << c.name; }

class IsExpiredTest : public ::testing::TestWithParam<ExpiredCase> {};

TEST_P(IsExpiredTest, ComparesWithTheCurrentTime)
{
    EXPECT_EQ(isExpired(makeLine(GetParam().line), GetParam().now), GetParam().expired);
}

INSTANTIATE_TEST_SUITE_P(
    Times, IsExpiredTest,
    ::testing::Values(
        ExpiredCase{"NoTimeTodayAtMidnight", {.date = "08.12.2026", .time = ""}, {{2026, 12, 8}, {0, 0, 0}}, true},
        ExpiredCase{"NoTimeTodayLateEvening", {.date = "08.12.2026", .time = ""}, {{2026, 12, 8}, {23, 59, 59}}, true},
        ExpiredCase{"NoTimeTomorrow", {.date = "09.12.2026", .time = ""}, {{2026, 12, 8}, {23, 59, 59}}, false},
        ExpiredCase{"CurrentMinuteAtItsFirstSecond", {.date = "08.12.2026", .time = "10:17"},
                    {{2026, 12, 8}, {10, 17, 0}}, true},
        ExpiredCase{"CurrentMinuteLater", {.date = "08.12.2026", .time = "10:17"}, {{2026, 12, 8}, {10, 17, 30}}, true},
        ExpiredCase{"NextMinute", {.date = "08.12.2026", .time = "10:17"}, {{2026, 12, 8}, {10, 16, 59}}, false},
        ExpiredCase{"MidnightIsTheStartOfItsDay", {.date = "09.12.2026", .time = "00:00"},
                    {{2026, 12, 8}, {23, 59, 59}}, false},
        ExpiredCase{"LastYear", {.date = "31.12.2025", .time = "23:59"}, {{2026, 1, 1}, {0, 0, 0}}, true},
        ExpiredCase{"InactiveCountsLikeActive", {.date = "07.12.2026", .active = false},
                    {{2026, 12, 8}, {9, 0, 0}}, true},
        ExpiredCase{"NextYear", {.date = "01.01.2027", .time = "00:00"}, {{2026, 12, 31}, {23, 59, 59}}, false}),
    [](const auto& param) { return param.param.name; });

TEST(IsExpired, UnreadableDateIsNotExpired)
{
    std::string l = makeLine({.date = "01.01.2020"});
    l.replace(1, 10, "31.02.2020");
    EXPECT_FALSE(isExpired(l, {{2026, 12, 8}, {9, 0, 0}}));
}

// Each reading two minutes later than the one before.
zw::testing::TestClock steppingClock()
{
    zw::testing::TestClock clock({{2026, 12, 8}, {9, 0, 0}});
    clock.stepEachReading(std::chrono::minutes(2));
    return clock;
}

struct ChoiceCase {
    const char* name;
    ExpiredChoice choice;
    std::vector<std::size_t> marked;
};
void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class ExpiredEntriesTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ExpiredEntriesTest, MarksByTheChoice)
{
    const std::vector<std::string> lines = {
        makeLine({.date = "01.12.2026", .repeat = line::RepeatKind::Daily}),
        makeLine({.date = "02.12.2026"}),
        makeLine({.date = "03.12.2026", .repeat = line::RepeatKind::Yearly, .active = false}),
        makeLine({.date = "08.12.2026", .time = ""}),
        makeLine({.date = "09.12.2026", .repeat = line::RepeatKind::Hourly}),
        makeLine({.date = "10.12.2026"}),
    };
    const auto clock = steppingClock();
    EXPECT_EQ(expiredEntries(lines, GetParam().choice, clock), GetParam().marked);
}

INSTANTIATE_TEST_SUITE_P(Choices, ExpiredEntriesTest,
                         ::testing::Values(ChoiceCase{"OnlyWithoutRepetition", ExpiredChoice::WithoutRepetition, {1, 3}},
                                           ChoiceCase{"All", ExpiredChoice::All, {0, 1, 2, 3}}),
                         [](const auto& param) { return param.param.name; });

TEST(ExpiredEntries, ReadsTheClockForEachEntry)
{
    // All lie in the minutes just after the first reading (09:00); the clock has moved on
    // to 09:02 when the second is looked at and to 09:04 for the third.
    const std::vector<std::string> lines = {makeLine({.date = "08.12.2026", .time = "09:01"}),
                                            makeLine({.date = "08.12.2026", .time = "09:02"}),
                                            makeLine({.date = "08.12.2026", .time = "09:03"})};
    const auto clock = steppingClock();
    EXPECT_EQ(expiredEntries(lines, ExpiredChoice::All, clock), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(clock.readings(), 3);
}

TEST(ExpiredEntries, DamagedLineStaysUnmarkedAndTheRestIsMarked)
{
    const std::vector<std::string> lines = {makeLine({.date = "01.12.2026"}), "[kaputt", "",
                                            makeLine({.date = "02.12.2026"})};
    const auto clock = steppingClock();
    EXPECT_EQ(expiredEntries(lines, ExpiredChoice::All, clock), (std::vector<std::size_t>{0, 3}));
}

} // namespace
