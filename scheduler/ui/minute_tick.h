#pragma once
// The program's tick: once a second just after the second changes while something shows
// the seconds, else twice a minute. Every tick runs the due check, which also catches up
// the minutes whose second 00 passed while the program was busy; whatever shows the time
// redraws on secondPassed().
#include <QObject>

class QTimer;

namespace zw {

class DueCheck;

class MinuteTick : public QObject {
    Q_OBJECT
public:
    // The tick comes this long after each change of the second.
    static constexpr int kAfterSecondMilliseconds = 20;

    explicit MinuteTick(DueCheck& dueCheck, QObject* parent = nullptr);
    ~MinuteTick() override;

    void start();
    // Whether a shown clock needs every second; changing it while running schedules anew,
    // so a clock shown again counts the seconds from now on, not from the next minute.
    void setEverySecond(bool on);
    // One tick now: the redraw, then the due check.
    void tick();

signals:
    void secondPassed();

private:
    void scheduleNext();

    DueCheck& dueCheck_;
    QTimer* timer_ = nullptr;
    bool everySecond_ = false;
};

} // namespace zw
