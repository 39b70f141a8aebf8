#include "clock/placement.h"

#include "settings/clock_settings.h"

namespace zw {

Point defaultClockPosition(Size window, Size screen) { return {screen.width - window.width, 0}; }

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

} // namespace zw
