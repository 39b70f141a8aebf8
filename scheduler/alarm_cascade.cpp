#include "scheduler/alarm_cascade.h"

namespace zw {

AlarmCascade::AlarmCascade(int screenWidth, int screenHeight)
    // Centres a 375 x 303 window; the division truncates toward zero.
    : next_{screenWidth / 2 - 187, screenHeight / 2 - 151}
{
}

ScreenPoint AlarmCascade::nextPosition(int usableWidth, int usableHeight)
{
    if (usableWidth < next_.left + kAlarmWindowWidth ||
        usableHeight < next_.top + kAlarmWindowHeight) {
        next_.left = 0;
        if (usableHeight < columnTop_ + kAlarmWindowHeight)
            columnTop_ = 0;
        next_.top = columnTop_;
        columnTop_ += kAlarmCascadeStep;
    }
    const ScreenPoint placed = next_;
    next_.left += kAlarmCascadeStep;
    next_.top += kAlarmCascadeStep;
    return placed;
}

} // namespace zw
