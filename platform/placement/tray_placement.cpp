#include "platform/placement/tray_placement.h"

#include <algorithm>

namespace zw {

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
