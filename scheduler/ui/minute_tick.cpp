#include "scheduler/ui/minute_tick.h"

#include "scheduler/due_check.h"

#include <QDateTime>
#include <QTimer>

namespace zw {

MinuteTick::MinuteTick(DueCheck& dueCheck, QObject* parent) : QObject(parent), dueCheck_(dueCheck)
{
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    // Queued, so that the tick does not run inside the timer's own event: Qt never delivers
    // a timer again while its handler runs, and a run's modal box would stop the clock.
    connect(timer_, &QTimer::timeout, this, &MinuteTick::tick, Qt::QueuedConnection);
}

MinuteTick::~MinuteTick() = default;

void MinuteTick::start() { scheduleNext(); }

void MinuteTick::setEverySecond(bool on)
{
    everySecond_ = on;
    if (timer_->isActive())
        scheduleNext();
}

void MinuteTick::scheduleNext()
{
    // One tick just after each change of the second: every second is drawn and second 00
    // is met once a minute, with a quarter of the wake-ups of a fixed 250 ms tick. The
    // delay is taken from the wall clock anew each time, so a timer that fires a little
    // early only shortens the next wait instead of skipping a second.
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    int wait = 1000 - static_cast<int>(ms % 1000) + kAfterSecondMilliseconds;
    // Nothing needs the seconds: one tick in second 00 for the due check and one in second
    // 01, which tells it that the next second 00 is a new minute. Two wake-ups a minute
    // instead of sixty. (Zones differ from UTC by whole minutes, so the second of the
    // minute is the same in local time.)
    const auto second = static_cast<int>(ms / 1000 % 60);
    if (!everySecond_ && second != 0)
        wait += (59 - second) * 1000;
    timer_->start(wait);
}

void MinuteTick::tick()
{
    // Scheduled first: a modal box opened by the due check below lets the next ticks through.
    scheduleNext();
    if (everySecond_)
        emit secondPassed();
    // Never throws. A tick that comes late because the program was busy also checks the
    // minutes whose second 00 it missed.
    dueCheck_.tick();
}

} // namespace zw
