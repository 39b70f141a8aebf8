#include "scheduler/snooze.h"

#include <gtest/gtest.h>

#include <memory>

namespace zw {
namespace {

// Ticks until the window comes back; -1 if it does not within limit ticks.
int ticksUntilReturn(AlarmSnooze& snooze, int limit = 1000)
{
    for (int i = 1; i <= limit; ++i) {
        if (snooze.tick())
            return i;
    }
    return -1;
}

TEST(Snooze, FiveMinutesReturnOnTheFifthTickExactly)
{
    SnoozeCounter count;
    AlarmSnooze snooze(count);
    snooze.start(5);
    EXPECT_EQ(count.value(), 1);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_FALSE(snooze.tick()) << i;
        EXPECT_EQ(snooze.snoozeTicks(), i);
        EXPECT_EQ(count.value(), 1);
    }
    EXPECT_TRUE(snooze.tick());
    EXPECT_FALSE(snooze.isSnoozed());
    EXPECT_EQ(snooze.snoozeTicks(), 0);
    EXPECT_EQ(count.value(), 0);
}

TEST(Snooze, TwoWindowsAreCountedUntilEachReturns)
{
    SnoozeCounter count;
    AlarmSnooze first(count);
    AlarmSnooze second(count);
    first.start(5);
    second.start(10);
    EXPECT_EQ(count.value(), 2);
    for (int minute = 1; minute <= 10; ++minute) {
        const bool firstBack = first.isSnoozed() && first.tick();
        const bool secondBack = second.tick();
        EXPECT_EQ(firstBack, minute == 5) << minute;
        EXPECT_EQ(secondBack, minute == 10) << minute;
        EXPECT_EQ(count.value(), minute < 5 ? 2 : minute < 10 ? 1 : 0) << minute;
    }
}

TEST(Snooze, SnoozingAgainCountsFromZero)
{
    SnoozeCounter count;
    AlarmSnooze snooze(count);
    snooze.start(10);
    ASSERT_EQ(ticksUntilReturn(snooze), 10);
    snooze.start(5);
    EXPECT_EQ(snooze.snoozeMinutes(), 5);
    EXPECT_EQ(count.value(), 1);
    EXPECT_EQ(ticksUntilReturn(snooze), 5);
    EXPECT_EQ(count.value(), 0);
}

TEST(Snooze, ChoosingAgainWhileSnoozedRestartsButCountsOnce)
{
    SnoozeCounter count;
    AlarmSnooze snooze(count);
    snooze.start(5);
    snooze.tick();
    snooze.tick();
    snooze.start(5);
    EXPECT_EQ(count.value(), 1);
    EXPECT_EQ(ticksUntilReturn(snooze), 5);
    EXPECT_EQ(count.value(), 0);
}

TEST(Snooze, StrayTickWhileShownChangesNothing)
{
    SnoozeCounter count;
    AlarmSnooze snooze(count);
    EXPECT_FALSE(snooze.tick());
    snooze.start(5);
    ASSERT_EQ(ticksUntilReturn(snooze), 5);
    EXPECT_FALSE(snooze.tick());
    EXPECT_EQ(snooze.snoozeTicks(), 0);
    EXPECT_EQ(count.value(), 0);
}

TEST(Snooze, WindowDestroyedWhileSnoozedLeavesTheCount)
{
    SnoozeCounter count;
    auto snoozed = std::make_unique<AlarmSnooze>(count);
    auto shown = std::make_unique<AlarmSnooze>(count);
    auto returned = std::make_unique<AlarmSnooze>(count);
    snoozed->start(30);
    returned->start(5);
    ASSERT_EQ(ticksUntilReturn(*returned), 5);
    ASSERT_EQ(count.value(), 1);

    shown.reset();
    returned.reset();
    EXPECT_EQ(count.value(), 1);
    snoozed.reset();
    EXPECT_EQ(count.value(), 0);
}

} // namespace
} // namespace zw
