#pragma once
// What the calendar rules demand of a stretch of time, worked out from the rules alone.
// Which minutes the program checked follows from when it ran, slept and was restarted;
// what each check carries out follows from the tables of the repetition kinds. It shares
// no code with the due check (not even the project's date helpers: the calendar is
// std::chrono's), so that the two can be held against each other.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace zw::oracle {

namespace chr = std::chrono;

enum class Kind { None, Hourly, Daily, Weekly, Monthly, Yearly };

struct Appointment {
    int id = 0;
    chr::year_month_day date;
    int minutes = 0; // of the day as stored; 0 (no time, or 00:00) means no time
    Kind kind = Kind::None;
    bool active = true;
    bool showIfExpired = false;
    bool deleteAfter = false;
    bool executed = false; // as the file holds it at the start
};

// What the machine did while a program ran: it slept from asleepMs to wakeMs (UTC).
struct Sleep {
    int64_t asleepMs = 0;
    int64_t wakeMs = 0;
};

// One run of the program: its start-up check at startMs, its last tick at lastTickMs.
struct ProcessSpan {
    int64_t startMs = 0;
    int64_t lastTickMs = 0;
    std::vector<Sleep> sleeps; // in order
};

struct Run {
    int process = 0;
    int64_t utcMinute = 0; // minutes since 01.01.1970 00:00 UTC
};

struct Expected {
    int id = 0;
    int64_t utcMinute = 0; // of the run that carries it out
    int process = 0;
    std::string status;    // Windows-1252
};

inline int64_t floorDivide(int64_t a, int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// Berlin's wall clock in minutes since 01.01.1970 00:00 local: UTC+1, and UTC+2 from the
// last Sunday of March 01:00 UTC to the last Sunday of October 01:00 UTC.
inline int64_t berlinWallMinute(int64_t utcMinute)
{
    const chr::sys_time<chr::minutes> t{chr::minutes{utcMinute}};
    const chr::year y = chr::year_month_day{chr::floor<chr::days>(t)}.year();
    const auto summerFrom = chr::sys_days{y / chr::March / chr::Sunday[chr::last]} + chr::hours{1};
    const auto summerTo = chr::sys_days{y / chr::October / chr::Sunday[chr::last]} + chr::hours{1};
    return utcMinute + (t >= summerFrom && t < summerTo ? 120 : 60);
}

inline chr::year_month_day dateOfWall(int64_t wallMinute)
{
    return chr::year_month_day{chr::sys_days{chr::days{floorDivide(wallMinute, 1440)}}};
}

inline int minuteOfDay(int64_t wallMinute)
{
    return static_cast<int>(wallMinute - floorDivide(wallMinute, 1440) * 1440);
}

// The checks a set of program runs made. The start-up check checks the minute it starts in;
// afterwards each minute whose second 00 the program was awake for is checked, also when a
// busy program checks it late; minutes the machine slept through are not.
inline std::vector<Run> runsOf(const std::vector<ProcessSpan>& processes)
{
    std::vector<Run> runs;
    for (size_t p = 0; p < processes.size(); ++p) {
        const ProcessSpan& span = processes[p];
        runs.push_back({static_cast<int>(p), floorDivide(span.startMs, 60000)});
        size_t sleep = 0;
        for (int64_t m = floorDivide(span.startMs, 60000) + 1; m * 60000 <= span.lastTickMs; ++m) {
            const int64_t ms = m * 60000;
            while (sleep < span.sleeps.size() && span.sleeps[sleep].wakeMs < ms)
                ++sleep;
            if (sleep < span.sleeps.size() && span.sleeps[sleep].asleepMs < ms && ms <= span.sleeps[sleep].wakeMs)
                continue;
            runs.push_back({static_cast<int>(p), m});
        }
    }
    return runs;
}

inline bool isDayOf(Kind kind, chr::year_month_day start, chr::year_month_day day)
{
    switch (kind) {
    case Kind::Daily:
    case Kind::Hourly:
        return true;
    case Kind::Weekly:
        return chr::weekday{chr::sys_days{start}} == chr::weekday{chr::sys_days{day}};
    case Kind::Monthly:
        return start.day() == day.day();
    case Kind::Yearly:
        return start.month() == day.month() && start.day() == day.day();
    case Kind::None:
        return start == day;
    }
    return false;
}

inline const char* kindWord(Kind kind)
{
    switch (kind) {
    case Kind::None: return "Keine";
    case Kind::Hourly: return "St\xFCndlich";
    case Kind::Daily: return "T\xE4glich";
    case Kind::Weekly: return "W\xF6" "chentlich";
    case Kind::Monthly: return "Monatlich";
    case Kind::Yearly: return "J\xE4hrlich";
    }
    return "?";
}

inline std::string expiredStatus(const Appointment& a)
{
    char text[64];
    std::snprintf(text, sizeof text, "Abgelaufener Termin vom %02u.%02u.%04d %02d:%02d", unsigned(a.date.day()),
                  unsigned(a.date.month()), int(a.date.year()), a.minutes / 60, a.minutes % 60);
    return text;
}

// Whether the wall clock showed this reading in the three hours before: the hour the
// autumn change repeats.
inline bool shownBefore(int64_t utcMinute)
{
    const int64_t wall = berlinWallMinute(utcMinute);
    if (berlinWallMinute(utcMinute - 180) - (utcMinute - 180) == wall - utcMinute)
        return false; // no change of the offset in between
    for (int64_t m = utcMinute - 180; m < utcMinute; ++m)
        if (berlinWallMinute(m) == wall)
            return true;
    return false;
}

// Everything the runs carry out, in order.
//
// Per run, in the order of the list: an inactive appointment does nothing. An appointment
// that asks for late showing, has never run and whose date and time lie before the run's
// minute is reported as expired. Otherwise, from its date on and on the days its kind
// names, it is carried out
//  - without time: at the first check of the day of a program run;
//  - hourly: at every check whose minute of the hour is its own, on its first day from its
//    hour on, so once in every real hour, also in the hour the autumn change repeats;
//  - otherwise: at the check of its minute, when that minute is the first reading of it
//    (in the hour the autumn change repeats, the second readings carry out no fixed
//    times); the minutes the spring change leaves out belong to the check of the first
//    minute after them.
// A one-off that ran never runs again; an appointment that deletes itself is gone after
// its first carrying-out.
inline std::vector<Expected> expectations(std::vector<Appointment> appointments, const std::vector<Run>& runs)
{
    std::vector<Expected> out;
    // Inactive ones never do anything; the rest until they are gone.
    std::vector<size_t> live;
    for (size_t i = 0; i < appointments.size(); ++i)
        if (appointments[i].active)
            live.push_back(i);
    int process = -1;
    unsigned lastDay = 0; // day of the month of the last check; 0: none yet in this program run

    for (const Run& run : runs) {
        if (run.process != process) {
            process = run.process;
            lastDay = 0;
        }
        const int64_t wall = berlinWallMinute(run.utcMinute);
        const chr::year_month_day today = dateOfWall(wall);
        const int now = minuteOfDay(wall);

        std::vector<int64_t> fixedTimes; // the wall minutes whose fixed times this check serves
        const int64_t minuteBefore = berlinWallMinute(run.utcMinute - 1);
        for (int64_t w = minuteBefore + 1; w < wall; ++w)
            fixedTimes.push_back(w);
        if (!fixedTimes.empty() || !shownBefore(run.utcMinute))
            fixedTimes.push_back(wall);

        for (size_t n = 0; n < live.size(); ++n) {
            Appointment& a = appointments[live[n]];
            const bool hasTime = a.minutes != 0;
            std::string status;
            if (a.showIfExpired && !a.executed && (a.date < today || (a.date == today && a.minutes < now))) {
                status = expiredStatus(a);
            } else if (a.date <= today && !(a.kind == Kind::None && a.executed)) {
                std::optional<int64_t> at; // the wall minute it is carried out for
                const bool dayToday = isDayOf(a.kind, a.date, today);
                if (!hasTime && dayToday && lastDay != unsigned(today.day())) {
                    at = wall;
                } else if (a.kind != Kind::Hourly) {
                    for (int64_t w : fixedTimes) {
                        const chr::year_month_day d = dateOfWall(w);
                        if (minuteOfDay(w) == a.minutes && a.date <= d && isDayOf(a.kind, a.date, d)) {
                            at = w;
                            break;
                        }
                    }
                } else if (dayToday && a.minutes % 60 == now % 60 && (a.date != today || now / 60 >= a.minutes / 60)) {
                    at = wall;
                }
                if (!at)
                    continue;
                const bool isNew = dateOfWall(*at) == a.date && (!hasTime || a.minutes == minuteOfDay(*at));
                status = isNew ? std::string("Neue Nachricht") : std::string("Wiederholung (") + kindWord(a.kind) + ")";
            } else {
                continue;
            }
            out.push_back({a.id, run.utcMinute, run.process, status});
            a.executed = true;
            if (a.deleteAfter)
                live.erase(live.begin() + static_cast<std::ptrdiff_t>(n--));
        }
        lastDay = unsigned(today.day());
    }
    return out;
}

} // namespace zw::oracle
