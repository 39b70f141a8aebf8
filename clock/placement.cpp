#include "clock/placement.h"

#include "settings/clock_settings.h"

#include <algorithm>

namespace zw {

Point defaultClockPosition(Size window, Size screen)
{
    return {screen.width - window.width, 0};
}

Point correctedClockPosition(Point saved, Size window, Size screen)
{
    // 64-bit sums: a hand-edited position may be anywhere in the 32-bit range.
    long long left = saved.x;
    long long top = saved.y;
    if (screen.width < left)
        left = screen.width - window.width;
    if (screen.height < top)
        top = screen.height - window.height;
    if (left + window.width < 0)
        left = 0;
    if (top + window.height < 0)
        top = 0;
    return {static_cast<int>(left), static_cast<int>(top)};
}

Point clockPositionAtStartup(const ClockSettings& settings, Size window, Size screen)
{
    Point fallback = defaultClockPosition(window, screen);
    Point saved{settings.left(fallback.x), settings.top()};
    return correctedClockPosition(saved, window, screen);
}

Point traySetWindowPos(Rect tray, bool isManager, Size window, Size fullScreenClient, Size screen)
{
    const int w = isManager ? window.width : 404;
    const int h = isManager ? window.height : 341;
    const int fullW = fullScreenClient.width;
    const int fullH = fullScreenClient.height;

    int x = fullW - w - 70;
    int y = fullH - h - 30;

    if (screen.width / 2 > tray.left) // taskbar on the left
        x = screen.width - fullW + 50;
    else if (screen.width / 2 < tray.left)
        x = fullW - w - 50;

    if (screen.height / 2 > tray.top) // taskbar at the top
        y = screen.height - fullH + 35;
    else if (screen.height / 2 < tray.top)
        y = fullH - h - 35;

    return {x, y};
}

Point keptOnScreen(Point pos, Size window, Size screen)
{
    const auto fit = [](int at, int extent, int room) { return std::max(0, std::min(at, room - extent)); };
    return {fit(pos.x, window.width, screen.width), fit(pos.y, window.height, screen.height)};
}

Rect trayRectOrFallback(std::optional<Rect> trayIconGeometry, Rect workArea)
{
    if (trayIconGeometry && trayIconGeometry->width > 0 && trayIconGeometry->height > 0)
        return *trayIconGeometry;
    return {workArea.left + workArea.width, workArea.top + workArea.height, 0, 0};
}

} // namespace zw
