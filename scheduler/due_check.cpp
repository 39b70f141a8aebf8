#include "scheduler/due_check.h"

#include "common/zeitwache_error.h"
#include "store/appointment_line.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace zw {

namespace {

// Minutes kept back while a run is blocked; a box left open over a day need not replay
// more than a day.
constexpr size_t kMaxPendingMinutes = 24 * 60;

// Minutes that passed without a tick are checked after gaps up to this long. A program that
// did not tick for longer was not busy but stopped (a debugger, a frozen virtual machine);
// those minutes are skipped as a clock change's are, and late showing reports what they held.
constexpr int64_t kMaxCatchUpSeconds = 60 * 60;
// The wall clock counts whole seconds, so each of its two readings may lag by up to one.
constexpr std::chrono::milliseconds kSameStepTolerance{2000};

constexpr int64_t kSecondsPerDay = 24 * 60 * 60;

int64_t floorDiv(int64_t a, int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

int64_t secondsOf(const LocalDateTime& t)
{
    return dayNumber(t.date) * kSecondsPerDay + t.time.hour * 3600 + t.time.minute * 60 + t.time.second;
}

LocalDateTime fromSeconds(int64_t seconds)
{
    const int64_t days = floorDiv(seconds, kSecondsPerDay);
    const auto inDay = static_cast<int>(seconds - days * kSecondsPerDay);
    return {dateFromDayNumber(days), {inDay / 3600, inDay / 60 % 60, inDay % 60}};
}

std::string twoDigits(int n)
{
    return {static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

std::string withoutTrailingBlanks(std::string_view word)
{
    auto end = word.find_last_not_of(' ');
    return std::string(word.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

bool isDayOfAppointment(line::RepeatKind kind, const Date& start, const Date& today)
{
    using line::RepeatKind;
    switch (kind) {
    case RepeatKind::Daily:
    case RepeatKind::Hourly:
        return true;
    case RepeatKind::Weekly:
        return weekday(today) == weekday(start);
    case RepeatKind::Monthly:
        return today.day == start.day;
    case RepeatKind::Yearly:
        return today.month == start.month && today.day == start.day;
    case RepeatKind::None:
        return today == start;
    }
    return false;
}

} // namespace

DueCheck::DueCheck(AppointmentList& list, const Clock& clock, AppointmentExecutor& executor)
    : list_(list), clock_(clock), executor_(executor)
{
}

DueCheck::Hold::Hold(DueCheck& check) : check_(check) { ++check_.holds_; }

DueCheck::Hold::~Hold()
{
    // runPending cannot throw: every run in it ends in runGuarded.
    if (--check_.holds_ == 0)
        check_.runPending();
}

void DueCheck::tick()
{
    try {
        const Reading current{clock_.now(), clock_.monotonic()};
        queueMinutesPassedUnseen(current);
        if (current.wall.time.second == 0 && !checkGuard_) {
            checkGuard_ = true;
            queue(current.wall);
        }
        runPending();
        if (clock_.now().time.second != 0)
            checkGuard_ = false;
    } catch (...) {
        // Out of memory, a clock that failed: the tick is the event loop's, nothing may
        // leave it. The next tick tries again.
        reportFailure();
    }
}

void DueCheck::queue(const LocalDateTime& minute)
{
    if (pending_.size() == kMaxPendingMinutes)
        pending_.pop_front();
    pending_.push_back(minute);
}

void DueCheck::queueMinutesPassedUnseen(const Reading& current)
{
    const std::optional<Reading> last = std::exchange(lastTick_, current);
    if (!last || !last->monotonic || !current.monotonic)
        return;
    const int64_t from = secondsOf(last->wall);
    const int64_t to = secondsOf(current.wall);
    const auto lived = *current.monotonic - *last->monotonic;
    const auto walked = std::chrono::seconds(to - from);
    // Only when the wall clock moved as far as the time lived was the program busy. A
    // suspend stops CLOCK_MONOTONIC, so waking shows as a jump of the wall clock: rightly,
    // as the machine slept through those minutes rather than being too busy for them.
    if (to <= from || to - from > kMaxCatchUpSeconds ||
        std::chrono::abs(walked - lived) > kSameStepTolerance)
        return;
    // Second 00 of each minute after the last tick and before this one; this tick's own
    // second 00, if it is one, is the regular check's.
    for (int64_t minute = (floorDiv(from, 60) + 1) * 60; minute < to; minute += 60)
        queue(fromSeconds(minute));
}

void DueCheck::runGuarded(const LocalDateTime& now)
{
    try {
        runOne(now);
    } catch (...) {
        reportFailure();
    }
}

void DueCheck::reportFailure() const noexcept
{
    try {
        try {
            throw;
        } catch (const ZeitwacheError& e) {
            if (report_)
                report_(e);
        } catch (const std::exception& e) {
            if (report_)
                report_(errors::unexpectedInCheck(e.what()));
        } catch (...) {
            if (report_)
                report_(errors::unexpectedInCheck({}));
        }
    } catch (...) {
        // The reporter failed as well; there is nobody left to tell.
    }
}

void DueCheck::runPending()
{
    while (!blocked() && !pending_.empty()) {
        LocalDateTime minute = pending_.front();
        pending_.pop_front();
        runGuarded(minute);
    }
}

void DueCheck::run(const LocalDateTime& now)
{
    // The tick in this same second 00 must not check it again; a run in another second
    // leaves the next second 00 to the tick.
    if (now.time.second == 0)
        checkGuard_ = true;
    if (!lastTick_)
        lastTick_ = Reading{now, clock_.monotonic()};
    runOne(now);
    runPending();
}

void DueCheck::runOne(const LocalDateTime& now)
{
    running_ = true;
    try {
        checkLines(now);
    } catch (...) {
        running_ = false;
        throw;
    }
    running_ = false;
}

void DueCheck::checkLines(const LocalDateTime& now)
{
    const Date today = now.date;
    const int nowMinutes = now.time.hour * 60 + now.time.minute;
    const std::string todayDd = twoDigits(today.day);
    const bool newDay = lastCheckDay_ != todayDd;

    for (size_t i = 0; i < list_.count();) {
        // All fields are read before anything is decided, so a damaged line stops the run
        // even when it is inactive.
        const std::string& l = list_.get(i);
        const Date date = line::readDate(l, today.year);
        const int minutes = line::readTimeMinutes(l);
        const line::Texts texts = line::readTexts(l);
        const std::string_view repeat = line::repeatField(l);
        const bool hasTime = minutes != 0; // 00:00 counts as no time

        auto carryOut = [&](std::string status) {
            DueAppointment a{i,
                             std::string(texts.message),
                             std::string(texts.application),
                             std::string(texts.sound),
                             std::move(status),
                             line::flag(l, line::kDeleteAfterExecution)};
            size_t before = list_.count();
            executor_.carryOut(a);
            return list_.count() < before; // the line is gone: the next one moved up
        };

        bool removed = false;
        if (line::activeField(l) != line::kActive) {
            // inactive: neither carried out nor reported
        } else if (line::flag(l, line::kShowIfExpired) == '1' && line::flag(l, line::kExecuted) != '1' &&
                   (date < today || (date == today && minutes < nowMinutes))) {
            removed = carryOut("Abgelaufener Termin vom " + formatDate(date) + " " +
                               formatHourMinute(minutes / 60, minutes % 60));
        } else if (date <= today) {
            auto kind = line::repeatKindOf(repeat);
            // A one-off appointment that has run never runs again: its minute can come
            // twice (the clock set back at the autumn change, its day announced again
            // after a restart).
            bool spent = kind == line::RepeatKind::None && line::flag(l, line::kExecuted) == '1';
            if (kind && !spent && isDayOfAppointment(*kind, date, today)) {
                const bool isToday = date == today;
                const bool hourly = *kind == line::RepeatKind::Hourly;
                const bool sameMinuteOfHour = minutes % 60 == now.time.minute;
                bool fires = (!hasTime && newDay) || (!hourly && minutes == nowMinutes) ||
                             (hourly && isToday && now.time.hour >= minutes / 60 && sameMinuteOfHour) ||
                             (hourly && !isToday && sameMinuteOfHour);
                if (fires) {
                    bool isNew = isToday && (!hasTime || minutes == nowMinutes);
                    removed = carryOut(isNew ? std::string("Neue Nachricht")
                                             : "Wiederholung (" + withoutTrailingBlanks(repeat) + ")");
                }
            }
        }
        if (!removed)
            ++i;
    }
    lastCheckDay_ = todayDd;
    list_.save();
}

} // namespace zw
