#pragma once
// Simulated time for the due check, run as the program runs it: the clock window's timer
// (each second, or only at seconds 00 and 01 while the clock is hidden, or the classic
// 250 ms), restarts from the saved data file with the start-up check, a machine that
// sleeps, a store that holds the check back, programs that are slow to start. Every
// carrying-out is recorded with the minute its run was for.
#include "calendar_oracle.h"
#include "common/civil_time.h"
#include "common/sound_name.h"
#include "common/zeitwache_error.h"
#include "recording_executor.h"
#include "scheduler/appointment_book.h"
#include "store/appointment_line.h"
#include "store/data_file.h"
#include "test_clock.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace zw::sim {

inline int64_t floorDiv(int64_t a, int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

inline int64_t floorMod(int64_t a, int64_t b)
{
    return a - floorDiv(a, b) * b;
}

// Day number of the last Sunday of a month.
inline int64_t lastSunday(int year, int month)
{
    const int64_t last = dayNumber({year, month, daysInMonth(year, month)});
    return last - weekday(dateFromDayNumber(last));
}

// Europe/Berlin as it has been since 1996: CET, and CEST from the last Sunday of March
// 01:00 UTC to the last Sunday of October 01:00 UTC.
inline int berlinOffsetSeconds(int64_t utc)
{
    // Tens of millions of readings: the year's two changes are worked out once.
    struct Year {
        int64_t begin = 1, end = 0, summerFrom = 0, summerTo = 0;
    };
    thread_local Year cached;
    if (utc < cached.begin || utc >= cached.end) {
        const int year = dateFromDayNumber(floorDiv(utc, 86400)).year;
        cached = {dayNumber({year, 1, 1}) * 86400, dayNumber({year + 1, 1, 1}) * 86400,
                  lastSunday(year, 3) * 86400 + 3600, lastSunday(year, 10) * 86400 + 3600};
    }
    return utc >= cached.summerFrom && utc < cached.summerTo ? 7200 : 3600;
}

inline LocalDateTime wallOfSeconds(int64_t seconds)
{
    thread_local int64_t cachedDay = INT64_MIN;
    thread_local Date cachedDate;
    const int64_t days = floorDiv(seconds, 86400);
    if (days != cachedDay) {
        cachedDay = days;
        cachedDate = dateFromDayNumber(days);
    }
    const auto inDay = static_cast<int>(seconds - days * 86400);
    return {cachedDate, {inDay / 3600, inDay / 60 % 60, inDay % 60}};
}

inline LocalDateTime berlinWall(int64_t utc)
{
    return wallOfSeconds(utc + berlinOffsetSeconds(utc));
}

// UTC milliseconds of a Berlin wall time; `summer` says which of the two an hour the autumn
// change repeats is meant (and is ignored elsewhere).
inline int64_t utcMsOf(Date d, int h, int m, int s, bool summer = false)
{
    const int64_t local = dayNumber(d) * 86400 + h * 3600 + m * 60 + s;
    for (int64_t offset : {summer ? 7200 : 3600, summer ? 3600 : 7200})
        if (berlinOffsetSeconds(local - offset) == offset)
            return (local - offset) * 1000;
    return (local - 3600) * 1000;
}

inline std::string describeWall(int64_t utcSeconds)
{
    const LocalDateTime w = berlinWall(utcSeconds);
    return formatDate(w.date) + " " + formatHourMinute(w.time.hour, w.time.minute) + ":" +
           (w.time.second < 10 ? "0" : "") + std::to_string(w.time.second) +
           (berlinOffsetSeconds(utcSeconds) == 7200 ? " MESZ" : " MEZ");
}

// Berlin's time with a monotonic reading that stands still while the machine sleeps.
inline zw::testing::TestClock berlinClock()
{
    zw::testing::TestClock clock;
    clock.setZone(berlinOffsetSeconds);
    clock.setMonotonic({});
    return clock;
}
using Ms = std::chrono::milliseconds;

enum class TickMode {
    Visible, // just after each change of the second
    Hidden,  // at seconds 00 and 01 only
    Quarter, // every 250 ms
};

struct Event {
    enum Type { Restart, Sleep, Hold, Mode } type = Restart;
    int64_t atMs = 0;    // the first tick at or after this (UTC) that was not busy does it
    int64_t untilMs = 0; // Restart: the new start; Sleep: the wake; Hold: its end
    TickMode mode = TickMode::Visible; // Mode, and the mode a Restart comes up in
};

struct Planned {
    int id = 0;
    Date date;
    std::optional<TimeOfDay> time;
    line::RepeatKind kind = line::RepeatKind::None;
    bool active = true;
    bool showIfExpired = false;
    bool deleteAfter = false;
    bool executed = false;
    int busySeconds = 0; // carrying it out keeps the program busy this long
    bool modal = false;  // ... in a message box whose event loop lets the ticks through
};

struct Scenario {
    std::string name;
    int64_t fromMs = 0;
    int64_t toMs = 0;
    std::vector<Planned> appointments;
    std::vector<Event> events; // by atMs
    TickMode firstMode = TickMode::Visible;
    uint64_t seed = 1;
};

struct Carrying {
    int id = 0;
    std::string status;
    LocalDateTime minute;
    int64_t utcMs = 0;
    int process = 0;
};

struct Outcome {
    std::vector<Carrying> seen;
    std::vector<oracle::ProcessSpan> processes;
    uint64_t ticks = 0;
    uint64_t runs = 0; // saves: every completed run writes the list once
    std::vector<std::string> errors;
};

inline std::string messageOf(int id)
{
    char text[16];
    std::snprintf(text, sizeof text, "T%04d", id);
    return text;
}

inline std::string lineOf(const Planned& p)
{
    line::Appointment a;
    a.date = p.date;
    a.time = p.time;
    a.repeat = p.kind;
    a.active = p.active;
    a.showIfExpired = p.showIfExpired;
    a.deleteAfterExecution = p.deleteAfter;
    a.message = messageOf(p.id);
    if (p.busySeconds > 0)
        a.application = "warte " + std::to_string(p.busySeconds) + (p.modal ? " modal" : "");
    a.sound = std::string(kNoSound);
    std::string l = line::compose(a, p.date.year);
    if (p.executed)
        line::setFlag(l, line::kExecuted, '1');
    return l;
}

inline oracle::Appointment oracleOf(const Planned& p)
{
    namespace chr = std::chrono;
    oracle::Appointment a;
    a.id = p.id;
    a.date = chr::year{p.date.year} / chr::month{unsigned(p.date.month)} / chr::day{unsigned(p.date.day)};
    a.minutes = p.time ? p.time->hour * 60 + p.time->minute : 0;
    a.kind = static_cast<oracle::Kind>(static_cast<int>(p.kind));
    a.active = p.active;
    a.showIfExpired = p.showIfExpired;
    a.deleteAfter = p.deleteAfter;
    a.executed = p.executed;
    return a;
}

class Simulation final {
public:
    Simulation(const Scenario& scenario, std::filesystem::path directory)
        : scenario_(scenario), directory_(std::move(directory)), random_(scenario.seed)
    {
    }

    Outcome run()
    {
        std::filesystem::create_directories(directory_);
        std::vector<std::string> lines;
        for (const Planned& p : scenario_.appointments)
            lines.push_back(lineOf(p));
        // In date order, as stores leave the file.
        std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
            return line::readDateTimeValue(a, 2027) < line::readDateTimeValue(b, 2027);
        });
        DataFile(directory_ / "termine.dat").save(lines);

        clock_.setInstantMs(scenario_.fromMs);
        clock_.setMonotonic(Ms(1'000'000'000));
        startProgram(scenario_.firstMode);
        size_t next = 0;
        while (next < scenario_.events.size() && scenario_.events[next].atMs < scenario_.fromMs)
            ++next;
        while (true) {
            const int64_t due = dueUtcMs();
            if (due > clock_.instantMs())
                clock_.live(Ms(due - clock_.instantMs()));
            busy_ = false;
            const int64_t tickAt = clock_.instantMs();
            tick();
            if (busy_)
                continue; // the timer is overdue: the next tick follows at once
            lastTickMs_ = tickAt;
            if (clock_.instantMs() >= scenario_.toMs)
                break;
            // One event right after a quiet tick: a sleep then begins just after a tick.
            if (next < scenario_.events.size() && scenario_.events[next].atMs <= clock_.instantMs())
                handle(scenario_.events[next++]);
        }
        outcome_.processes.back().lastTickMs = lastTickMs_;
        return std::move(outcome_);
    }

private:
    // Inside carrying out, before the executor marks the line as the program's does.
    void carryingOut(const DueAppointment& a)
    {
        const int id = std::stoi(a.message.substr(1));
        outcome_.seen.push_back({id, a.statusText, a.minute, clock_.instantMs(), process_});
        if (!a.application.empty()) {
            std::istringstream words(a.application);
            std::string word, mode;
            int seconds = 0;
            words >> word >> seconds >> mode;
            busy_ = true;
            // A box opened from within the timer's own tick may or may not let that timer's
            // next tick in; one opened elsewhere always does.
            if (mode == "modal" && (!inTick_ || random_() % 2 == 0))
                pass(clock_.instantMs() + seconds * 1000);
            else
                clock_.live(Ms(seconds * 1000));
        }
    }

    int64_t dueUtcMs() const { return clock_.instantMs() + (timerDueMonotonic_ - clock_.monotonicMs()); }

    // ClockWindow::scheduleNextTick: the timer counts on the monotonic clock.
    void scheduleNextTick()
    {
        int64_t wait = 250;
        if (mode_ != TickMode::Quarter) {
            const int64_t ms = clock_.instantMs();
            wait = 1000 - floorMod(ms, 1000) + 20;
            const int64_t second = floorMod(floorDiv(ms, 1000), 60);
            if (mode_ == TickMode::Hidden && second != 0)
                wait += (59 - second) * 1000;
        }
        timerDueMonotonic_ = clock_.monotonicMs() + wait;
    }

    void tick()
    {
        ++outcome_.ticks;
        scheduleNextTick();
        const bool outer = !inTick_;
        inTick_ = true;
        book_->dueCheck().tick();
        if (outer)
            inTick_ = false;
    }

    // Time passes with the event loop turning: the timer's ticks come when due.
    void pass(int64_t untilMs)
    {
        while (true) {
            const int64_t due = dueUtcMs();
            if (due > untilMs) {
                if (untilMs > clock_.instantMs())
                    clock_.live(Ms(untilMs - clock_.instantMs()));
                return;
            }
            if (due > clock_.instantMs())
                clock_.live(Ms(due - clock_.instantMs()));
            tick();
        }
    }

    void startProgram(TickMode mode)
    {
        ++process_;
        outcome_.processes.push_back({clock_.instantMs(), clock_.instantMs(), {}});
        book_.reset();
        list_ = std::make_unique<AppointmentList>();
        executor_ = std::make_unique<zw::testing::RecordingExecutor>(*list_);
        executor_->setDuring([this](const DueAppointment& a) { carryingOut(a); });
        book_ = std::make_unique<AppointmentBook>(directory_, *list_, clock_, *executor_);
        // The program writes the file at the end of every run; here it is written when the
        // program ends, which is all a restart can see of it.
        list_->setSaver([this](const std::vector<std::string>&) { ++outcome_.runs; });
        if (const auto problem = book_->load())
            outcome_.errors.push_back(*problem);
        mode_ = mode;
        scheduleNextTick(); // the clock starts before the first check, as in the program
        const AppointmentBook::FirstCheck first = book_->runFirstCheck();
        if (first.error)
            outcome_.errors.push_back(*first.error);
        if (first.converted)
            outcome_.errors.push_back("converted");
        book_->dueCheck().setErrorReporter([this](const ZeitwacheError& e) { outcome_.errors.push_back(e.what()); });
    }

    void handle(const Event& e)
    {
        switch (e.type) {
        case Event::Restart:
            outcome_.processes.back().lastTickMs = lastTickMs_;
            DataFile(directory_ / "termine.dat").save(list_->lines());
            book_.reset();
            list_.reset();
            clock_.live(Ms(std::max<int64_t>(1, e.untilMs - clock_.instantMs())));
            startProgram(e.mode);
            lastTickMs_ = clock_.instantMs();
            break;
        case Event::Sleep: {
            const int64_t asleep = clock_.instantMs();
            clock_.jump(Ms(std::max<int64_t>(1, e.untilMs - clock_.instantMs())));
            outcome_.processes.back().sleeps.push_back({asleep, clock_.instantMs()});
            break;
        }
        case Event::Hold: {
            // A store's overwrite query: its box lets the ticks through.
            const DueCheck::Hold hold = book_->dueCheck().hold();
            pass(e.untilMs);
            break;
        }
        case Event::Mode:
            mode_ = e.mode;
            break;
        }
    }

    const Scenario& scenario_;
    std::filesystem::path directory_;
    std::mt19937_64 random_;
    zw::testing::TestClock clock_ = berlinClock();
    std::unique_ptr<AppointmentList> list_;
    std::unique_ptr<zw::testing::RecordingExecutor> executor_;
    std::unique_ptr<AppointmentBook> book_;
    TickMode mode_ = TickMode::Visible;
    int64_t timerDueMonotonic_ = 0;
    int64_t lastTickMs_ = 0;
    bool inTick_ = false;
    bool busy_ = false;
    int process_ = -1;
    Outcome outcome_;
};

// ---------------------------------------------------------------------------------------
// Holding what was seen against what the rules demand.

struct Figures {
    long expected = 0;
    long seen = 0;
    long missed = 0;
    long unexpected = 0;
    long twiceInOneProgramRun = 0;
    long twiceAfterRestart = 0; // a new program run repeats an occurrence of the one before
    long afterRestartNotAtStart = 0; // ... not in its start-up check but later
    long oneOffTwice = 0;
    Figures& operator+=(const Figures& o)
    {
        expected += o.expected;
        seen += o.seen;
        missed += o.missed;
        unexpected += o.unexpected;
        twiceInOneProgramRun += o.twiceInOneProgramRun;
        twiceAfterRestart += o.twiceAfterRestart;
        afterRestartNotAtStart += o.afterRestartNotAtStart;
        oneOffTwice += o.oneOffTwice;
        return *this;
    }
};

struct Findings {
    Figures byKind[6];
    Figures total;
    std::vector<std::string> notes; // the first discrepancies, readable
    long notesLeftOut = 0;
};

// The run's UTC minute of a carrying-out: the latest minute, not after it was carried
// out, whose wall reading is the run's minute (the autumn hour has each reading twice).
inline int64_t utcMinuteOf(const Carrying& c)
{
    const int64_t last = floorDiv(c.utcMs, 60000);
    for (int64_t m = last; m > last - 24 * 60; --m) {
        const LocalDateTime w = berlinWall(m * 60);
        if (w.date == c.minute.date && w.time.hour == c.minute.time.hour && w.time.minute == c.minute.time.minute)
            return m;
    }
    return last;
}

inline std::string describe(const Planned& p)
{
    static const char* kinds[] = {"Keine", "Stuendlich", "Taeglich", "Woechentlich", "Monatlich", "Jaehrlich"};
    std::string s = messageOf(p.id) + " " + kinds[static_cast<int>(p.kind)] + " " + formatDate(p.date) + " " +
                    (p.time ? formatHourMinute(p.time->hour, p.time->minute) : std::string("ohne Zeit"));
    s += p.active ? "" : " inaktiv";
    s += p.showIfExpired ? " +abgelaufen" : "";
    s += p.deleteAfter ? " +loeschen" : "";
    s += p.executed ? " +ausgefuehrt" : "";
    if (p.busySeconds)
        s += " +" + std::to_string(p.busySeconds) + "s" + (p.modal ? " modal" : "");
    return s;
}

inline std::string printable(const std::string& cp1252)
{
    std::string out;
    for (unsigned char ch : cp1252) {
        switch (ch) {
        case 0xFC: out += "ue"; break;
        case 0xE4: out += "ae"; break;
        case 0xF6: out += "oe"; break;
        default: out += static_cast<char>(ch);
        }
    }
    return out;
}

inline Findings compare(const Scenario& scenario, const Outcome& outcome, const std::vector<oracle::Expected>& expected)
{
    Findings f;
    std::map<int, const Planned*> byId;
    for (const Planned& p : scenario.appointments)
        byId[p.id] = &p;
    auto kindOf = [&](int id) { return static_cast<int>(byId.at(id)->kind); };
    auto note = [&](const std::string& s) {
        if (f.notes.size() < 40)
            f.notes.push_back(scenario.name + ": " + s);
        else
            ++f.notesLeftOut;
    };

    using Key = std::tuple<int, int64_t, std::string>;
    std::map<Key, std::vector<int>> want; // key -> processes
    for (const oracle::Expected& e : expected) {
        want[{e.id, e.utcMinute, e.status}].push_back(e.process);
        ++f.byKind[kindOf(e.id)].expected;
    }
    std::map<Key, std::vector<const Carrying*>> got;
    for (const Carrying& c : outcome.seen) {
        got[{c.id, utcMinuteOf(c), c.status}].push_back(&c);
        ++f.byKind[kindOf(c.id)].seen;
    }
    for (const auto& [key, processes] : want) {
        const auto it = got.find(key);
        const size_t have = it == got.end() ? 0 : it->second.size();
        if (have < processes.size()) {
            f.byKind[kindOf(std::get<0>(key))].missed += static_cast<long>(processes.size() - have);
            note("FEHLT " + describe(*byId.at(std::get<0>(key))) + " zur Minute " +
                 describeWall(std::get<1>(key) * 60) + " als \"" + printable(std::get<2>(key)) + "\"");
        }
    }
    for (const auto& [key, carryings] : got) {
        const auto it = want.find(key);
        const size_t should = it == want.end() ? 0 : it->second.size();
        if (carryings.size() > should) {
            f.byKind[kindOf(std::get<0>(key))].unexpected += static_cast<long>(carryings.size() - should);
            note("UNERWARTET " + describe(*byId.at(std::get<0>(key))) + " zur Minute " +
                 describeWall(std::get<1>(key) * 60) + " als \"" + printable(std::get<2>(key)) + "\", ausgefuehrt " +
                 describeWall(floorDiv(carryings.back()->utcMs, 1000)));
        }
    }

    // Twice, judged from what was seen alone: one occurrence of an appointment is its
    // expiry report, or its day (a fixed time, or no time), or for an hourly one its real hour.
    std::map<std::tuple<int, int, int64_t>, std::vector<const Carrying*>> occurrences;
    std::map<int, int> oneOffs;
    for (const Carrying& c : outcome.seen) {
        const Planned& p = *byId.at(c.id);
        if (p.kind == line::RepeatKind::None)
            ++oneOffs[c.id];
        if (c.status.rfind("Abgelaufen", 0) == 0)
            occurrences[{c.id, 0, 0}].push_back(&c);
        else if (p.kind == line::RepeatKind::Hourly)
            occurrences[{c.id, 1, floorDiv(utcMinuteOf(c), 60)}].push_back(&c);
        else
            occurrences[{c.id, 2, dayNumber(c.minute.date)}].push_back(&c);
    }
    for (const auto& [key, list] : occurrences) {
        for (size_t i = 1; i < list.size(); ++i) {
            Figures& k = f.byKind[kindOf(std::get<0>(key))];
            if (list[i]->process == list[i - 1]->process) {
                ++k.twiceInOneProgramRun;
                note("ZWEIMAL " + describe(*byId.at(std::get<0>(key))) + ": " +
                     describeWall(floorDiv(list[i - 1]->utcMs, 1000)) + " und " +
                     describeWall(floorDiv(list[i]->utcMs, 1000)));
            } else {
                ++k.twiceAfterRestart;
                const int64_t start = floorDiv(outcome.processes[static_cast<size_t>(list[i]->process)].startMs, 60000);
                if (utcMinuteOf(*list[i]) != start) {
                    ++k.afterRestartNotAtStart;
                    note("NACH NEUSTART " + describe(*byId.at(std::get<0>(key))) + ": " +
                         describeWall(floorDiv(list[i - 1]->utcMs, 1000)) + " und " +
                         describeWall(floorDiv(list[i]->utcMs, 1000)));
                }
            }
        }
    }
    for (const auto& [id, count] : oneOffs) {
        if (count > 1) {
            f.byKind[0].oneOffTwice += count - 1;
            note("EINMALIG ZWEIMAL " + describe(*byId.at(id)));
        }
    }
    for (const Figures& k : f.byKind)
        f.total += k;
    return f;
}

inline std::string table(const Findings& f)
{
    static const char* kinds[] = {"Keine", "Stuendlich", "Taeglich", "Woechentlich", "Monatlich", "Jaehrlich"};
    std::ostringstream out;
    char row[200];
    std::snprintf(row, sizeof row, "%-13s %9s %9s %7s %10s %8s %10s %9s\n", "Art", "erwartet", "gesehen", "fehlt",
                  "unerwartet", "zweimal", "neustart*", "einmal2x");
    out << row;
    auto line = [&](const char* name, const Figures& k) {
        std::snprintf(row, sizeof row, "%-13s %9ld %9ld %7ld %10ld %8ld %10ld %9ld\n", name, k.expected, k.seen,
                      k.missed, k.unexpected, k.twiceInOneProgramRun, k.twiceAfterRestart, k.oneOffTwice);
        out << row;
    };
    for (int i = 0; i < 6; ++i)
        line(kinds[i], f.byKind[i]);
    line("zusammen", f.total);
    out << "neustart*: dieselbe Ausfuehrung in einem neuen Programmlauf noch einmal, davon "
        << f.total.twiceAfterRestart - f.total.afterRestartNotAtStart << " in seiner Startpruefung, "
        << f.total.afterRestartNotAtStart << " spaeter\n";
    return out.str();
}

} // namespace zw::sim
