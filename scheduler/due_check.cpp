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
// those minutes are skipped as jumped-over ones are, and late showing reports what they held.
constexpr int64_t kMaxCatchUpSeconds = 60 * 60;
// The wall clock counts whole seconds, so each of its two readings may lag by up to one.
constexpr std::chrono::milliseconds kSameStepTolerance{2000};

// Lines ahead whose bytes the check asks for while it reads the current one.
constexpr size_t kPrefetchAhead = 16;
// The fields the check reads lie in a line's first bytes.
constexpr size_t kFieldsEnd = 64;

constexpr int64_t kSecondsPerDay = 24 * 60 * 60;

// No change of the UTC offset moves the wall clock further than this (the usual hour, two
// hours of a double summer time, and room to spare).
constexpr int64_t kMaxOffsetChangeSeconds = 3 * 60 * 60;

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

int64_t minuteNumber(const LocalDateTime& t)
{
    return floorDiv(secondsOf(t), 60);
}

int64_t ceilSeconds(std::chrono::milliseconds ms)
{
    return floorDiv(ms.count() + 999, 1000);
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
    : list_(list), checkDays_(list), clock_(clock), executor_(executor)
{
}

DueCheck::Hold::Hold(DueCheck& check) : check_(check) { ++check_.holds_; }

DueCheck::Hold::~Hold()
{
    // runPending cannot throw: every run in it ends in runGuarded.
    if (--check_.holds_ == 0)
        check_.runPending();
}

DueCheck::Reading DueCheck::read() const
{
    // The wall reading is taken from the UTC reading, so the two always belong together.
    if (const std::optional<int64_t> utc = clock_.utcSeconds())
        if (const std::optional<LocalDateTime> wall = clock_.wallAt(*utc))
            return {*wall, *utc, true, clock_.monotonic()};
    const LocalDateTime wall = clock_.now();
    return {wall, secondsOf(wall), false, clock_.monotonic()};
}

LocalDateTime DueCheck::wallAt(int64_t instant, const Reading& now) const
{
    if (!now.zoned)
        return fromSeconds(instant);
    if (const std::optional<LocalDateTime> wall = clock_.wallAt(instant))
        return *wall;
    return fromSeconds(instant + secondsOf(now.wall) - now.instant);
}

void DueCheck::tick()
{
    try {
        const Reading current = read();
        queueMinutesPassedUnseen(current);
        // Keyed by the minute, not by a flag cleared in another second: a run that blocked
        // into the next second 00 must not keep that minute from being checked.
        const int64_t minute = floorDiv(current.instant, 60);
        if (current.wall.time.second == 0 && lastRegularMinute_ != minute) {
            lastRegularMinute_ = minute;
            queue({current.wall, current.instant, current.zoned});
        }
        runPending();
    } catch (...) {
        // Out of memory, a clock that failed: the tick is the event loop's, nothing may
        // leave it. The next tick tries again.
        reportFailure();
    }
}

void DueCheck::queue(const Minute& minute)
{
    if (pending_.size() == kMaxPendingMinutes)
        pending_.pop_front();
    pending_.push_back(minute);
}

void DueCheck::queueMinutesPassedUnseen(const Reading& current)
{
    const std::optional<Reading> last = std::exchange(lastTick_, current);
    if (!last)
        return;
    if (last->zoned != current.zoned)
        return;
    const int64_t from = last->instant;
    const int64_t to = current.instant;
    if (to == from)
        return;
    std::optional<std::chrono::milliseconds> lived;
    if (last->monotonic && current.monotonic)
        lived = *current.monotonic - *last->monotonic;
    // Only when the clock moved as far as the time lived was the program busy. A suspend
    // stops CLOCK_MONOTONIC, so waking shows as a jump: rightly, as the machine slept
    // through those minutes rather than being too busy for them. Readings in UTC make a
    // change between summer and winter time a step like any other.
    const bool busy = lived && to > from && to - from <= kMaxCatchUpSeconds &&
                      std::chrono::abs(std::chrono::seconds(to - from) - *lived) <= kSameStepTolerance;
    int64_t unseenAfter = from;
    if (!busy) {
        // The timer counts on the monotonic clock: after a wake it runs out its wait, up to
        // a minute with the clock hidden, and the minutes of that time were lived through.
        // Where in the step the jump fell is unknown; the minutes of the last `lived`
        // seconds are checked, which may take in a second 00 slept through just before.
        if (!lived || lived->count() <= 0 || *lived > std::chrono::seconds(kMaxCatchUpSeconds))
            return;
        unseenAfter = to - ceilSeconds(*lived);
        if (to > from)
            unseenAfter = std::max(unseenAfter, from);
    }
    // Second 00 of each minute after that and before this tick; this tick's own second 00,
    // if it is one, is the regular check's.
    for (int64_t minute = (floorDiv(unseenAfter, 60) + 1) * 60; minute < to; minute += 60)
        queue({wallAt(minute, current), minute, current.zoned});
}

void DueCheck::runGuarded(const Minute& minute)
{
    try {
        runOne(minute);
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
        const Minute minute = pending_.front();
        pending_.pop_front();
        runGuarded(minute);
    }
}

void DueCheck::run(const LocalDateTime& now)
{
    const Reading current = read();
    // The tick in this same second 00 must not check it again; a run in another second
    // leaves the next second 00 to the tick.
    if (now.time.second == 0)
        lastRegularMinute_ = floorDiv(current.instant, 60);
    if (!lastTick_)
        lastTick_ = current;
    // The time zone's rules apply when `now` is the clock's own minute.
    const bool clocksMinute = minuteNumber(now) == minuteNumber(current.wall);
    runOne({now, current.instant, current.zoned && clocksMinute});
    runPending();
}

void DueCheck::runOne(const Minute& minute)
{
    running_ = true;
    try {
        chooseFixedTimes(minute);
        checkLines(minute.wall);
    } catch (...) {
        running_ = false;
        throw;
    }
    running_ = false;
}

void DueCheck::chooseFixedTimes(const Minute& minute)
{
    fixedTimes_.clear();
    if (minute.zoned) {
        // One real minute earlier the wall clock read further back than one minute only
        // when its offset from UTC grew: the minutes it left out belong to this one.
        const int64_t second00 = floorDiv(minute.instant, 60) * 60;
        const int64_t now = minuteNumber(minute.wall);
        if (const std::optional<LocalDateTime> before = clock_.wallAt(second00 - 60)) {
            const int64_t previous = minuteNumber(*before);
            if (now - previous > 1 && (now - previous) * 60 <= kMaxOffsetChangeSeconds) {
                for (int64_t m = previous + 1; m < now; ++m)
                    fixedTimes_.push_back(fromSeconds(m * 60));
                fixedTimes_.push_back(minute.wall);
                return;
            }
        }
        if (showedBefore(minute))
            return;
    }
    fixedTimes_.push_back(minute.wall);
}

bool DueCheck::showedBefore(const Minute& minute) const
{
    // The autumn change: the offset was larger a little while ago, and with it the wall
    // clock read this minute then already.
    const int64_t second00 = floorDiv(minute.instant, 60) * 60;
    const int64_t wall = minuteNumber(minute.wall) * 60;
    const std::optional<LocalDateTime> earlierWall = clock_.wallAt(second00 - kMaxOffsetChangeSeconds);
    if (!earlierWall)
        return false;
    const int64_t earlierOffset = secondsOf(*earlierWall) - (second00 - kMaxOffsetChangeSeconds);
    if (earlierOffset <= wall - second00)
        return false;
    const int64_t sameReading = wall - earlierOffset;
    if (sameReading >= second00)
        return false;
    const std::optional<LocalDateTime> then = clock_.wallAt(sameReading);
    return then && minuteNumber(*then) * 60 == wall;
}

void DueCheck::checkLines(const LocalDateTime& now)
{
    const Date today = now.date;
    const int nowMinutes = now.time.hour * 60 + now.time.minute;
    const std::string todayDd = twoDigits(today.day);
    const bool newDay = lastCheckDay_ != todayDd;

    const int64_t day = dayNumber(today);
    for (size_t i = 0; i < list_.count();) {
        if (!checkDays_.mustRead(i, day)) {
            ++i;
            continue;
        }
        // Each line lies elsewhere on the heap; asking for one a few lines ahead lets its
        // fetch from memory overlap the reading of this one.
        if (i + kPrefetchAhead < list_.count() && checkDays_.mustRead(i + kPrefetchAhead, day)) {
            const char* ahead = list_.get(i + kPrefetchAhead).data();
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + kFieldsEnd); // the fields may reach into the next cache line
        }
        // All fields are read before anything is decided, so a damaged line stops the run
        // even when it is inactive.
        const line::CheckFields fields = line::readCheckFields(list_.get(i), today.year);
        checkDays_.noteRead(i, fields);
        const Date date = fields.date;
        const int minutes = fields.minutes;
        const line::Texts& texts = fields.texts;
        const std::string_view repeat = fields.repeat;
        const bool hasTime = minutes != 0; // 00:00 counts as no time

        auto carryOut = [&](std::string status) {
            DueAppointment a{i,
                             std::string(texts.message),
                             std::string(texts.application),
                             std::string(texts.sound),
                             std::move(status),
                             fields.deleteAfterExecution,
                             now};
            size_t before = list_.count();
            executor_.carryOut(a);
            return list_.count() < before; // the line is gone: the next one moved up
        };

        bool removed = false;
        if (!fields.active) {
            // inactive: neither carried out nor reported
        } else if (fields.showIfExpired == '1' && fields.executed != '1' &&
                   (date < today || (date == today && minutes < nowMinutes))) {
            removed = carryOut("Abgelaufener Termin vom " + formatDate(date) + " " +
                               formatHourMinute(minutes / 60, minutes % 60));
        } else if (date <= today) {
            auto kind = line::repeatKindOf(repeat);
            // A one-off appointment that has run never runs again: its minute can come
            // twice (the clock set back, its day announced again after a restart).
            bool spent = kind == line::RepeatKind::None && fields.executed == '1';
            if (kind && !spent) {
                const bool hourly = *kind == line::RepeatKind::Hourly;
                const bool onToday = isDayOfAppointment(*kind, date, today);
                // The minute it fires for: now, or for a fixed time a minute the wall clock
                // passed over.
                const LocalDateTime* firing = nullptr;
                if (!hasTime && newDay && onToday) {
                    firing = &now;
                } else if (!hourly) {
                    for (const LocalDateTime& m : fixedTimes_) {
                        if (m.time.hour * 60 + m.time.minute == minutes && date <= m.date &&
                            isDayOfAppointment(*kind, date, m.date)) {
                            firing = &m;
                            break;
                        }
                    }
                } else if (onToday && minutes % 60 == now.time.minute &&
                           (date != today || now.time.hour >= minutes / 60)) {
                    firing = &now;
                }
                if (firing) {
                    const bool isNew = date == firing->date &&
                                       (!hasTime || minutes == firing->time.hour * 60 + firing->time.minute);
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
