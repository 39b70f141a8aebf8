#include "scheduler/snooze.h"

namespace zw {

AlarmSnooze::AlarmSnooze(SnoozeCounter& counter) : counter_(counter) {}

AlarmSnooze::~AlarmSnooze()
{
    if (snoozed_)
        --counter_.count_;
}

void AlarmSnooze::start(int minutes)
{
    minutes_ = minutes;
    ticks_ = 0;
    if (!snoozed_) {
        snoozed_ = true;
        ++counter_.count_;
    }
}

bool AlarmSnooze::tick()
{
    if (!snoozed_)
        return false;
    ++ticks_;
    if (ticks_ < minutes_)
        return false;
    snoozed_ = false;
    --counter_.count_;
    ticks_ = 0;
    return true;
}

} // namespace zw
