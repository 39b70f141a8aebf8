#include "clock/placement.h"

#include "common/file_io.h"
#include "data_dir.h"
#include "settings/clock_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using zw::Point;
using zw::Rect;
using zw::Size;

constexpr Size screen{1024, 768};
constexpr Size clockWindow{148, 60};

TEST(ClockStartPosition, DefaultIsTheTopRightCorner)
{
    EXPECT_EQ(zw::defaultClockPosition(clockWindow, screen), (Point{876, 0}));
}

TEST(ClockStartPosition, PositionsOnTheScreenStay)
{
    EXPECT_EQ(zw::correctedClockPosition({100, 200}, clockWindow, screen), (Point{100, 200}));
    // Partly beyond the right or bottom edge: only the left and top edges are compared.
    EXPECT_EQ(zw::correctedClockPosition({1000, 740}, clockWindow, screen), (Point{1000, 740}));
    EXPECT_EQ(zw::correctedClockPosition({1024, 768}, clockWindow, screen), (Point{1024, 768}));
    // Partly left of or above the screen.
    EXPECT_EQ(zw::correctedClockPosition({-100, -30}, clockWindow, screen), (Point{-100, -30}));
    EXPECT_EQ(zw::correctedClockPosition({-148, -60}, clockWindow, screen), (Point{-148, -60}));
}

TEST(ClockStartPosition, PositionsOffTheScreenComeBack)
{
    // Left edge beyond the right border, top edge beyond the bottom border.
    EXPECT_EQ(zw::correctedClockPosition({1025, 100}, clockWindow, screen), (Point{876, 100}));
    EXPECT_EQ(zw::correctedClockPosition({1600, 1200}, clockWindow, screen), (Point{876, 708}));
    EXPECT_EQ(zw::correctedClockPosition({100, 769}, clockWindow, screen), (Point{100, 708}));
    // Wholly left of or above the screen.
    EXPECT_EQ(zw::correctedClockPosition({-149, 10}, clockWindow, screen), (Point{0, 10}));
    EXPECT_EQ(zw::correctedClockPosition({10, -61}, clockWindow, screen), (Point{10, 0}));
    EXPECT_EQ(zw::correctedClockPosition({INT32_MIN, INT32_MIN}, clockWindow, screen), (Point{0, 0}));
    EXPECT_EQ(zw::correctedClockPosition({INT32_MAX, INT32_MAX}, clockWindow, screen), (Point{876, 708}));
}

TEST(ClockStartPosition, ComesFromTheSettingsFile)
{
    const zw::testing::DataDir dir;
    const auto ini = dir / "Zeitwache.ini";
    zw::ClockSettings settings(ini);

    EXPECT_EQ(zw::clockPositionAtStartup(settings, clockWindow, screen), (Point{876, 0}));
    ASSERT_TRUE(zw::writeFileAtomically(ini, "[Clock]\r\nUhrposX=0x10\r\nUhrposY=5000\r\n"));
    EXPECT_EQ(zw::clockPositionAtStartup(settings, clockWindow, screen), (Point{16, 708}));
}

// Full-screen client sizes of a 1024 x 768 screen with a 30 pixel taskbar and a
// 19 pixel title bar.
constexpr Size fullBesideBar{994, 749}; // taskbar on the left or right
constexpr Size fullUnderBar{1024, 719}; // taskbar at the top or bottom
constexpr Size manager{420, 360};

TEST(TraySetWindowPos, TaskbarAtTheBottom)
{
    const Rect tray{900, 740, 120, 26};
    EXPECT_EQ(zw::traySetWindowPos(tray, true, manager, fullUnderBar, screen), (Point{1024 - 420 - 50, 719 - 360 - 35}));
    // Any other window is placed as if it were 404 x 341.
    EXPECT_EQ(zw::traySetWindowPos(tray, false, manager, fullUnderBar, screen), (Point{570, 343}));
}

TEST(TraySetWindowPos, TaskbarAtTheTop)
{
    const Rect tray{900, 2, 120, 26};
    // y does not depend on the window's height.
    EXPECT_EQ(zw::traySetWindowPos(tray, true, manager, fullUnderBar, screen), (Point{554, 768 - 719 + 35}));
    EXPECT_EQ(zw::traySetWindowPos(tray, true, {420, 600}, fullUnderBar, screen), (Point{554, 84}));
}

TEST(TraySetWindowPos, TaskbarOnTheLeft)
{
    const Rect tray{2, 700, 26, 60};
    // x does not depend on the window's width.
    EXPECT_EQ(zw::traySetWindowPos(tray, false, {}, fullBesideBar, screen), (Point{1024 - 994 + 50, 749 - 341 - 35}));
    EXPECT_EQ(zw::traySetWindowPos(tray, true, {700, 341}, fullBesideBar, screen), (Point{80, 373}));
}

TEST(TraySetWindowPos, TaskbarOnTheRight)
{
    const Rect tray{996, 700, 26, 60};
    EXPECT_EQ(zw::traySetWindowPos(tray, false, {}, fullBesideBar, screen), (Point{994 - 404 - 50, 373}));
    EXPECT_EQ(zw::traySetWindowPos(tray, true, manager, fullBesideBar, screen), (Point{994 - 420 - 50, 749 - 360 - 35}));
}

TEST(TraySetWindowPos, TrayAtTheMiddleKeepsTheFirstGuess)
{
    // 1025 div 2 = 512 and 769 div 2 = 384: equal to the tray's edges.
    const Size oddScreen{1025, 769};
    const Rect tray{512, 384, 10, 10};
    EXPECT_EQ(zw::traySetWindowPos(tray, false, {}, fullUnderBar, oddScreen), (Point{1024 - 404 - 70, 719 - 341 - 30}));
    // One pixel either way decides the side.
    EXPECT_EQ(zw::traySetWindowPos({513, 383, 10, 10}, false, {}, fullUnderBar, oddScreen), (Point{570, 769 - 719 + 35}));
    EXPECT_EQ(zw::traySetWindowPos({511, 385, 10, 10}, false, {}, fullUnderBar, oddScreen), (Point{1025 - 1024 + 50, 343}));
}

TEST(TraySetWindowPos, FallsBackToTheWorkAreaCorner)
{
    const Rect workArea{0, 0, 1024, 738};
    const Rect fallback = zw::trayRectOrFallback(std::nullopt, workArea);
    EXPECT_EQ(fallback, (Rect{1024, 738, 0, 0}));
    EXPECT_EQ(zw::trayRectOrFallback(Rect{0, 0, 0, 0}, workArea), fallback);
    EXPECT_EQ(zw::trayRectOrFallback(Rect{10, 20, 22, 22}, workArea), (Rect{10, 20, 22, 22}));
    // A work area beside a left taskbar still puts the window at the bottom right.
    EXPECT_EQ(zw::trayRectOrFallback(std::nullopt, {30, 0, 994, 768}), (Rect{1024, 768, 0, 0}));
    EXPECT_EQ(zw::traySetWindowPos(fallback, false, {}, fullUnderBar, screen), (Point{570, 343}));
}

TEST(TraySetWindowPos, APlaceByAClickPointIsKeptOnTheScreen)
{
    // manager: 420 x 360. Only as far as needed; a window larger than the screen keeps its top-left corner on it.
    EXPECT_EQ(zw::keptOnScreen({-5, 700}, manager, screen), (Point{0, 768 - 360}));
    EXPECT_EQ(zw::keptOnScreen({100, 100}, manager, screen), (Point{100, 100}));
    EXPECT_EQ(zw::keptOnScreen({100, 100}, {2000, 1000}, screen), (Point{0, 0}));
}

} // namespace
