#include "common/civil_time.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace zw {

LocalDateTime SystemClock::now() const
{
    return *wallAt(std::time(nullptr));
}

std::optional<int64_t> SystemClock::utcSeconds() const
{
    return static_cast<int64_t>(std::time(nullptr));
}

std::optional<LocalDateTime> SystemClock::wallAt(int64_t utcSeconds) const
{
    const auto t = static_cast<std::time_t>(utcSeconds);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    // A leap second (60) is shown as 59 so that it never looks like second 00.
    return LocalDateTime{{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday},
                         {tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec}};
}

std::optional<std::chrono::milliseconds> SystemClock::monotonic() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

bool isValidDate(const Date& d)
{
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month);
}

// Howard Hinnant's days_from_civil / civil_from_days.
int64_t dayNumber(const Date& d)
{
    int64_t y = d.year - (d.month <= 2 ? 1 : 0);
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t mp = (d.month + 9) % 12;
    int64_t doy = (153 * mp + 2) / 5 + d.day - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date dateFromDayNumber(int64_t z)
{
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t y = yoe + era * 400;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int64_t d = doy - (153 * mp + 2) / 5 + 1;
    int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

int weekday(const Date& d)
{
    int64_t w = (dayNumber(d) + 4) % 7; // 01.01.1970 was a Thursday
    return static_cast<int>(w < 0 ? w + 7 : w);
}

namespace {

// Reads blanks, then 1 to maxDigits decimal digits.
struct Scanner {
    std::string_view text;
    size_t pos = 0;

    void skipBlanks()
    {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
    }
    bool number(int& value, int& digits, int maxDigits)
    {
        skipBlanks();
        value = 0;
        digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < maxDigits) {
            value = value * 10 + (text[pos] - '0');
            ++digits;
            ++pos;
        }
        return digits > 0;
    }
    bool take(char c)
    {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    bool atEndAfterBlanks()
    {
        skipBlanks();
        return pos == text.size();
    }
};

} // namespace

std::optional<Date> parseGermanDate(std::string_view text, int currentYear)
{
    Scanner s{text};
    Date d;
    int digits = 0;
    if (!s.number(d.day, digits, 2) || !s.take('.') || !s.number(d.month, digits, 2))
        return std::nullopt;
    d.year = currentYear;
    if (s.take('.')) {
        int yearDigits = 0;
        if (s.number(d.year, yearDigits, 4)) {
            if (yearDigits <= 2)
                d.year += currentYear / 100 * 100;
        } else {
            d.year = currentYear; // "24.12." names the current year too
        }
    }
    if (!s.atEndAfterBlanks() || !isValidDate(d))
        return std::nullopt;
    return d;
}

std::optional<TimeOfDay> parseTime(std::string_view text)
{
    Scanner s{text};
    TimeOfDay t;
    int digits = 0;
    if (!s.number(t.hour, digits, 2) || !s.take(':') || !s.number(t.minute, digits, 2))
        return std::nullopt;
    if (s.take(':') && !s.number(t.second, digits, 2))
        return std::nullopt;
    if (!s.atEndAfterBlanks() || t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

std::string formatDate(const Date& d)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d.day % 100, d.month % 100, d.year % 10000);
    return buf;
}

std::string formatHourMinute(int hour, int minute)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", hour % 100, minute % 100);
    return buf;
}

} // namespace zw
