#pragma once
#include "common/civil_time.h"
#include "store/appointment_list.h"

#include <cstddef>
#include <deque>
#include <functional>
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
class DueCheck {
public:
    using ErrorReporter = std::function<void(const ZeitwacheError&)>;

    DueCheck(AppointmentList& list, const Clock& clock, AppointmentExecutor& executor);

    // Errors of runs started by the tick (a damaged line, a failed save) go here;
    // without a reporter they are dropped.
    void setErrorReporter(ErrorReporter reporter) { report_ = std::move(reporter); }

    // The scheduler's part of the 250 ms timer tick.
    void tick();

    // One run for the given minute; throws the first error (the conversion error of a
    // damaged line, a failed save). Used at start-up; the tick uses it too.
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
    bool blocked() const { return running_ || holds_ > 0; }
    void runGuarded(const LocalDateTime& now);
    void runPending();
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
};

} // namespace zw
