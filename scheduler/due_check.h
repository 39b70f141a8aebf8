#pragma once
#include "common/civil_time.h"
#include "scheduler/check_days.h"
#include "store/appointment_list.h"

#include <cstddef>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zw {

class ZeitwacheError;

// What carrying out one appointment needs (texts as Windows-1252 bytes from the line).
struct DueAppointment {
    size_t index = 0;
    std::string message;
    std::string application;
    std::string sound;
    std::string statusText;
    char deleteFlag = '0';
    // The minute the run checks; behind the wall clock when the run is for a minute that
    // passed while the program was busy.
    LocalDateTime minute;
};

// Carries out one appointment. It may change or remove the line at `index` before it
// returns; it does not save the list.
class AppointmentExecutor {
public:
    virtual ~AppointmentExecutor() = default;
    virtual void carryOut(const DueAppointment& appointment) = 0;
};

// The minute tick and the due check over the appointment list.
//
// A run never starts inside another run (a modal box of the executor lets ticks through)
// nor while an operation that holds the check back (a store, a deletion) is in progress.
// A minute met in such a moment is kept and checked as soon as the blocking operation
// ends, so that no appointment of that minute is lost.
//
// A minute whose second 00 no tick met because the program was busy (the thread blocked
// in starting a program, say) is checked once, for that minute, at the next tick. A minute
// that the wall clock jumped over (set by hand, the machine waking) is skipped, except the
// last ones before the tick that the program lived through after the jump; the clock's
// monotonic reading tells busy from jumped and says how long the program lived.
//
// With a clock that knows UTC, a change between summer and winter time is no jump: the
// fixed times of the hour the spring change leaves out are carried out with the first
// minute after it, and in the hour the autumn change repeats only what repeats hourly is
// carried out: a fixed time falls on the first reading of its minute.
//
// No exception leaves a run started by the tick or by a Hold's end: every failure goes to
// the error reporter, and the check carries on.
class DueCheck {
public:
    using ErrorReporter = std::function<void(const ZeitwacheError&)>;

    DueCheck(AppointmentList& list, const Clock& clock, AppointmentExecutor& executor);

    // Errors of runs started by the tick or a Hold's end (a damaged line, a failed save,
    // anything unexpected as errors::unexpectedInCheck) go here; without a reporter they are
    // dropped. An exception of the reporter itself is dropped as well.
    void setErrorReporter(ErrorReporter reporter) { report_ = std::move(reporter); }

    // The scheduler's part of the 250 ms timer tick.
    void tick();

    // One run for the given minute; throws the first error (the conversion error of a
    // damaged line, a failed save, whatever the executor throws). Used at start-up: the
    // first tick then checks the minutes that passed during this run.
    void run(const LocalDateTime& now);

    // Keeps runs back while it lives; the last one to go runs what was kept.
    class Hold {
    public:
        explicit Hold(DueCheck& check);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        DueCheck& check_;
    };
    Hold hold() { return Hold(*this); }

    bool running() const { return running_; }
    const std::string& lastCheckDay() const { return lastCheckDay_; }

private:
    struct Reading {
        LocalDateTime wall;
        int64_t instant = 0; // UTC seconds; for a clock without a time zone its wall's seconds
        bool zoned = false;
        std::optional<std::chrono::milliseconds> monotonic;
    };
    struct Minute {
        LocalDateTime wall;
        int64_t instant = 0; // as in Reading
        bool zoned = false;
    };

    Reading read() const;
    LocalDateTime wallAt(int64_t instant, const Reading& now) const;
    bool blocked() const { return running_ || holds_ > 0; }
    void queue(const Minute& minute);
    void queueMinutesPassedUnseen(const Reading& current);
    void runOne(const Minute& minute);
    void runGuarded(const Minute& minute);
    void runPending();
    // Inside a catch handler: hands the exception being handled to the reporter.
    void reportFailure() const noexcept;
    // The wall minutes whose fixed times this run checks, into fixedTimes_.
    void chooseFixedTimes(const Minute& minute);
    bool showedBefore(const Minute& minute) const;
    void checkLines(const LocalDateTime& now);

    AppointmentList& list_;
    CheckDays checkDays_;
    const Clock& clock_;
    AppointmentExecutor& executor_;
    ErrorReporter report_;

    // The UTC minute the tick last found at second 00: each is checked once.
    std::optional<int64_t> lastRegularMinute_;
    std::string lastCheckDay_;
    bool running_ = false;
    int holds_ = 0;
    std::deque<Minute> pending_;
    std::optional<Reading> lastTick_;
    std::vector<LocalDateTime> fixedTimes_;
};

} // namespace zw
