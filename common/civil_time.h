#pragma once
#include <chrono>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zw {

// A calendar date of the proleptic Gregorian calendar, years 1 to 9999.
struct Date {
    int year = 1;
    int month = 1;
    int day = 1;
    auto operator<=>(const Date&) const = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    auto operator<=>(const TimeOfDay&) const = default;
};

// Local wall-clock time as the system shows it; the program never reads the system clock
// itself but asks a Clock for this.
struct LocalDateTime {
    Date date;
    TimeOfDay time;
    auto operator<=>(const LocalDateTime&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
    // Time on a clock that nobody sets, read together with now(): comparing how far the two
    // moved tells a program that was busy from a wall clock that was changed. Nothing for a
    // clock without one; the due check then takes every gap for a change.
    virtual std::optional<std::chrono::milliseconds> monotonic() const { return std::nullopt; }
    // Seconds since 01.01.1970 00:00 UTC, and the wall reading at such an instant. A step of
    // the wall clock that UTC does not share is a change between summer and winter time (or
    // of the time zone), not a clock that was set. Nothing for a clock without a time zone;
    // the due check then takes every jump of now() for a set clock.
    virtual std::optional<int64_t> utcSeconds() const { return std::nullopt; }
    virtual std::optional<LocalDateTime> wallAt(int64_t /*utcSeconds*/) const { return std::nullopt; }
};

// The machine's local time.
class SystemClock final : public Clock {
public:
    LocalDateTime now() const override;
    // steady_clock: CLOCK_MONOTONIC on Linux, which stands still while the machine sleeps.
    std::optional<std::chrono::milliseconds> monotonic() const override;
    std::optional<int64_t> utcSeconds() const override;
    std::optional<LocalDateTime> wallAt(int64_t utcSeconds) const override;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);
bool isValidDate(const Date& date);
// Days since 01.01.1970 (negative before); valid dates only.
int64_t dayNumber(const Date& date);
Date dateFromDayNumber(int64_t days);
// 0 = Sunday ... 6 = Saturday.
int weekday(const Date& date);

// German short date, day.month[.year]: blanks before a number are skipped; a year of one
// or two digits lies in the century of currentYear; a missing year is currentYear.
std::optional<Date> parseGermanDate(std::string_view text, int currentYear);
// "hh:nn" or "hh:nn:ss" on the 24-hour clock, blanks before a number skipped.
std::optional<TimeOfDay> parseTime(std::string_view text);

// "dd.mm.yyyy"
std::string formatDate(const Date& date);
// "hh:nn"
std::string formatHourMinute(int hour, int minute);

} // namespace zw
