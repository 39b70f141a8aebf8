#pragma once
// The tests' one clock. The wall reading is what the test sets or moves; a monotonic
// reading and a time zone come only when asked for, because the due check takes a clock
// without them differently (every gap a change of the clock, every jump a set clock).
#include "common/civil_time.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace zw::testing {

class TestClock final : public Clock {
public:
    // Seconds east of UTC at a UTC instant (seconds since 1970) where the test plays.
    using Zone = std::function<int(int64_t utcSeconds)>;
    using Ms = std::chrono::milliseconds;

    explicit TestClock(LocalDateTime wall = {{2026, 12, 8}, {9, 5, 30}}) { set(wall); }

    LocalDateTime now() const override
    {
        const LocalDateTime wall = wallOf(seconds());
        ++readings_;
        ms_ += step_.count();
        return wall;
    }
    std::optional<Ms> monotonic() const override { return monotonic_; }
    std::optional<int64_t> utcSeconds() const override
    {
        return zone_ ? std::optional<int64_t>(seconds()) : std::nullopt;
    }
    std::optional<LocalDateTime> wallAt(int64_t utc) const override
    {
        return zone_ ? std::optional<LocalDateTime>(wallOf(utc)) : std::nullopt;
    }

    // The wall reading from now on, for a clock without a zone.
    void set(const LocalDateTime& wall)
    {
        const TimeOfDay& t = wall.time;
        ms_ = (dayNumber(wall.date) * 86400 + t.hour * 3600 + t.minute * 60 + t.second) * 1000;
    }
    void set(std::string_view date, int hour, int minute, int second = 0)
    {
        set({*parseGermanDate(date, 2026), {hour, minute, second}});
    }
    // With a zone: the UTC instant; without: the wall reading as if it were UTC.
    int64_t instantMs() const { return ms_; }
    void setInstantMs(int64_t ms) { ms_ = ms; }
    void setZone(Zone zone) { zone_ = std::move(zone); }
    void setMonotonic(Ms reading) { monotonic_ = reading; }
    int64_t monotonicMs() const { return monotonic_.value_or(Ms(0)).count(); }

    // The program lives through `d`: the wall and the monotonic reading move together.
    void live(Ms d)
    {
        ms_ += d.count();
        if (monotonic_)
            *monotonic_ += d;
    }
    // The wall alone moves: a clock set by hand, a machine asleep.
    void jump(Ms d) { ms_ += d.count(); }

    // Every reading of now() leaves the clock `step` later, as a slow loop would find it.
    void stepEachReading(Ms step) { step_ = step; }
    int readings() const { return readings_; }

private:
    static int64_t floorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
    int64_t seconds() const { return floorDiv(ms_, 1000); }
    LocalDateTime wallOf(int64_t utc) const
    {
        const int64_t s = zone_ ? utc + zone_(utc) : utc;
        const int64_t days = floorDiv(s, 86400);
        const auto inDay = static_cast<int>(s - days * 86400);
        return {dateFromDayNumber(days), {inDay / 3600, inDay / 60 % 60, inDay % 60}};
    }

    mutable int64_t ms_ = 0;
    std::optional<Ms> monotonic_;
    Zone zone_;
    Ms step_{0};
    mutable int readings_ = 0;
};

} // namespace zw::testing
