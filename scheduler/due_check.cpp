#include "scheduler/due_check.h"

#include "common/zeitwache_error.h"
#include "store/appointment_line.h"

#include <algorithm>

namespace zw {

namespace {

// Minutes kept back while a run is blocked; a box left open over a day need not replay
// more than a day.
constexpr size_t kMaxPendingMinutes = 24 * 60;

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
    if (--check_.holds_ == 0)
        check_.runPending();
}

void DueCheck::tick()
{
    LocalDateTime now = clock_.now();
    if (now.time.second == 0 && !checkGuard_) {
        checkGuard_ = true;
        if (blocked()) {
            if (pending_.size() == kMaxPendingMinutes)
                pending_.pop_front();
            pending_.push_back(now);
        } else {
            runGuarded(now);
        }
    }
    if (clock_.now().time.second != 0)
        checkGuard_ = false;
}

void DueCheck::runGuarded(const LocalDateTime& now)
{
    try {
        run(now);
    } catch (const ZeitwacheError& e) {
        if (report_)
            report_(e);
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
    checkGuard_ = true;
    running_ = true;
    try {
        checkLines(now);
    } catch (...) {
        running_ = false;
        throw;
    }
    running_ = false;
    if (holds_ == 0)
        runPending();
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
