#pragma once
// Where windows go on the screen and beside the notification area: plain geometry, free
// of Qt, shared by the clock, the manager and the desktop's fallbacks.
#include <optional>

namespace zw {

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
