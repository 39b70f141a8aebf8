#pragma once

#include <optional>

namespace zw {

class ClockSettings;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// Top-right corner of the screen: where the clock goes when no position was saved.
Point defaultClockPosition(Size window, Size screen);

// Brings a saved clock position back onto the screen after, for example, a change to a
// smaller resolution. Only the left and top edges are compared with the screen size, so a
// window whose left edge still lies on the screen keeps its place even if it reaches past
// the right edge; a window wholly left of or above the screen goes to 0.
Point correctedClockPosition(Point saved, Size window, Size screen);

// The clock's position at start: the saved one (or the default), corrected as above.
Point clockPositionAtStartup(const ClockSettings& settings, Size window, Size screen);

// Where a window goes next to the notification area (top-left corner). The side of the
// screen the tray is on is judged from the tray's left and top edges against the middle of
// the screen. fullScreenClient is the client size of a maximised window (the work area,
// less a title bar in height). Only the manager window is placed by its own size; any
// other window is placed as if it were 404 x 341.
Point traySetWindowPos(Rect tray, bool isManager, Size window, Size fullScreenClient, Size screen);

// The position moved just far enough that the whole window lies on the screen (its
// top-left corner when the window is larger than the screen).
Point keptOnScreen(Point pos, Size window, Size screen);

// The tray rectangle to place by: the tray icon's geometry when the desktop reports one,
// otherwise an empty rectangle at the bottom-right corner of the work area.
Rect trayRectOrFallback(std::optional<Rect> trayIconGeometry, Rect workArea);

} // namespace zw
