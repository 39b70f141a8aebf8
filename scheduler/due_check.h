#pragma once
#include "common/civil_time.h"
#include "store/appointment_list.h"

#include <cstddef>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>

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
// that the wall clock jumped over (set by hand, a summer-time change, the machine waking)
// is skipped; the clock's monotonic reading tells the two apart.
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
        std::optional<std::chrono::milliseconds> monotonic;
    };

    bool blocked() const { return running_ || holds_ > 0; }
    void queue(const LocalDateTime& minute);
    void queueMinutesPassedUnseen(const Reading& current);
    void runOne(const LocalDateTime& now);
    void runGuarded(const LocalDateTime& now);
    void runPending();
    // Inside a catch handler: hands the exception being handled to the reporter.
    void reportFailure() const noexcept;
    void checkLines(const LocalDateTime& now);

    AppointmentList& list_;
    const Clock& clock_;
    AppointmentExecutor& executor_;
    ErrorReporter report_;

    bool checkGuard_ = false;
    std::string lastCheckDay_;
    bool running_ = false;
    int holds_ = 0;
    std::deque<LocalDateTime> pending_;
    std::optional<Reading> lastTick_;
};

} // namespace zw
