#pragma once

// Putting an alarm window off for some minutes. The window owns an AlarmSnooze; the one
// SnoozeCounter of the process (owned by whoever owns the alarm windows) says how many
// windows are hidden by a snooze right now, for the clock's extended display.
namespace zw {

// The snooze timer's interval; the window's timer calls AlarmSnooze::tick() at this rate.
inline constexpr int kSnoozeTickMilliseconds = 60'000;

// SnoozeCount. Only AlarmSnooze changes it, so it always equals the number of live
// AlarmSnooze objects that are snoozed.
class SnoozeCounter {
public:
    SnoozeCounter() = default;
    SnoozeCounter(const SnoozeCounter&) = delete;
    SnoozeCounter& operator=(const SnoozeCounter&) = delete;

    int value() const { return count_; }

private:
    friend class AlarmSnooze;
    int count_ = 0;
};

// SnoozeMinutes and SnoozeTicks of one alarm window. The counter must outlive it.
class AlarmSnooze {
public:
    explicit AlarmSnooze(SnoozeCounter& counter);
    // A window that goes away while snoozed (program end, or its owner deleting it)
    // takes itself out of the count.
    ~AlarmSnooze();
    AlarmSnooze(const AlarmSnooze&) = delete;
    AlarmSnooze& operator=(const AlarmSnooze&) = delete;

    // The user chose a length: the caller hides the window and starts its 60-second
    // timer. Counting starts from 0. Choosing again while already snoozed (the window is
    // hidden, so only by code) starts the new length but counts the window once.
    void start(int minutes);

    // One tick of the timer. True when the window must come back now: the snooze is over
    // and no longer counted, and the caller stops the timer and shows the window with its
    // sound and the snooze status line. A tick while not snoozed (one that was already
    // queued when the timer stopped) changes nothing.
    bool tick();

    bool isSnoozed() const { return snoozed_; }
    int snoozeMinutes() const { return minutes_; }
    int snoozeTicks() const { return ticks_; }

private:
    SnoozeCounter& counter_;
    int minutes_ = 0;
    int ticks_ = 0;
    bool snoozed_ = false;
};

} // namespace zw
