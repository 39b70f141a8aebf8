#include "scheduler/alarm_cascade.h"

#include <gtest/gtest.h>

#include <vector>

namespace zw {
namespace {

std::vector<ScreenPoint> place(AlarmCascade& cascade, int count, int usableWidth, int usableHeight)
{
    std::vector<ScreenPoint> points;
    for (int i = 0; i < count; ++i)
        points.push_back(cascade.nextPosition(usableWidth, usableHeight));
    return points;
}

TEST(AlarmCascade, StartsCentredOnTheScreen)
{
    EXPECT_EQ(AlarmCascade(800, 600).nextAlarmPosition(), (ScreenPoint{213, 149}));
    EXPECT_EQ(AlarmCascade(1023, 767).nextAlarmPosition(), (ScreenPoint{324, 232}));
    EXPECT_EQ(AlarmCascade(800, 600).cascadeColumnTop(), 0);
}

TEST(AlarmCascade, WindowsStep20PixelsRightAndDown)
{
    AlarmCascade cascade(800, 600);
    const std::vector<ScreenPoint> expected = {{213, 149}, {233, 169}, {253, 189}};
    EXPECT_EQ(place(cascade, 3, 800, 570), expected);
    EXPECT_EQ(cascade.nextAlarmPosition(), (ScreenPoint{273, 209}));
    EXPECT_EQ(cascade.cascadeColumnTop(), 0);
}

TEST(AlarmCascade, PassingTheBottomRestartsAtTheLeftEdgeOneStepLowerEachTime)
{
    AlarmCascade cascade(800, 600);
    // Tops 149..249 fit 570 - 303 = 267; the seventh window would reach 572.
    const auto first = place(cascade, 7, 800, 570);
    EXPECT_EQ(first[5], (ScreenPoint{313, 249}));
    EXPECT_EQ(first[6], (ScreenPoint{0, 0}));
    EXPECT_EQ(cascade.cascadeColumnTop(), 20);

    // The column from top 0 holds tops 0..260; then the next column starts at 20.
    const auto second = place(cascade, 14, 800, 570);
    EXPECT_EQ(second[12], (ScreenPoint{260, 260}));
    EXPECT_EQ(second[13], (ScreenPoint{0, 20}));
    EXPECT_EQ(cascade.cascadeColumnTop(), 40);
}

TEST(AlarmCascade, PassingTheRightEdgeRestartsToo)
{
    AlarmCascade cascade(800, 600);
    // 213 + 375 = 588 fits 600 wide; 233 + 375 does not.
    const std::vector<ScreenPoint> expected = {{213, 149}, {0, 0}, {20, 20}};
    EXPECT_EQ(place(cascade, 3, 600, 2000), expected);
}

TEST(AlarmCascade, ColumnTopWrapsToZeroWhenTheColumnWouldPassTheBottom)
{
    // Room for exactly three steps across and down: a window that ends on the edge fits.
    AlarmCascade cascade(800, 600);
    const std::vector<ScreenPoint> expected = {
        {0, 0}, {20, 20}, {40, 40}, // first column
        {0, 20}, {20, 40},          // second column
        {0, 40},                    // third column: its top + 303 ends on the edge
        {0, 0}, {20, 20},           // the column top has wrapped
    };
    EXPECT_EQ(place(cascade, 8, 415, 343), expected);
    EXPECT_EQ(cascade.cascadeColumnTop(), 20);
}

TEST(AlarmCascade, UsableAreaSmallerThanAWindowStaysInTheCorner)
{
    AlarmCascade cascade(800, 600);
    for (const ScreenPoint& p : place(cascade, 4, 300, 200))
        EXPECT_EQ(p, (ScreenPoint{0, 0}));
}

} // namespace
} // namespace zw
