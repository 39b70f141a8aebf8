// The due check through simulated time, held against the calendar rules worked out
// apart from it: nothing missed, nothing twice, a one-off never twice. The short stretches
// around both clock changes, 29 February and a sleeping machine run with every test run;
// the whole year from 01.06.2027 to 01.06.2028 runs with scripts/attack-simulated-year.
#include "data_dir.h"
#include "year_simulation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>

#include <unistd.h>

using namespace zw;
using namespace zw::sim;
using line::RepeatKind;

namespace {

constexpr int64_t kSecond = 1000;
constexpr int64_t kMinute = 60 * kSecond;
constexpr int64_t kHour = 60 * kMinute;

const Date kAutumn{2027, 10, 31};
const Date kSpring{2028, 3, 26};
const Date kLeapDay{2028, 2, 29};
// Both changes happen at 01:00 UTC.
const int64_t kAutumnChange = (dayNumber(kAutumn) * 86400 + 3600) * kSecond;
const int64_t kSpringChange = (dayNumber(kSpring) * 86400 + 3600) * kSecond;

// The standard distributions differ between libraries; these numbers do not.
struct Dice {
    std::mt19937_64 engine;
    explicit Dice(uint64_t seed) : engine(seed) {}
    int64_t below(int64_t n) { return static_cast<int64_t>(engine() % static_cast<uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
};

// Every combination of kind, time or none, active or not, late showing and deletion,
// on dates that hit the month ends, 29 February and both clock changes, and times in and
// around the hours the changes leave out and repeat.
std::vector<Planned> planAppointments(int count, uint64_t seed)
{
    Dice dice(seed);
    std::vector<Date> special = {kAutumn,    {2027, 10, 30}, {2027, 10, 24}, kSpring,      {2028, 3, 25},
                                 {2028, 3, 19}, kLeapDay,   {2028, 2, 28},  {2028, 3, 1},  {2026, 10, 25},
                                 {2027, 3, 28}, {2027, 6, 1}, {2028, 5, 31},  {2028, 6, 1},  {2028, 6, 15},
                                 {2024, 2, 29}, {2027, 5, 31}};
    for (int y = 2026; y <= 2028; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 29; d <= 31; ++d)
                if (isValidDate({y, m, d}) && Date{y, m, d} >= Date{2026, 6, 1} && Date{y, m, d} <= Date{2028, 6, 30})
                    special.push_back({y, m, d});
    const int times[] = {2 * 60,  2 * 60 + 1, 2 * 60 + 30, 2 * 60 + 59, 60 + 59, 3 * 60,      3 * 60 + 1, 60,
                         0,       1,          23 * 60 + 59, 12 * 60,    2 * 60 + 15, 2 * 60 + 45, 59};
    const int64_t firstDay = dayNumber({2026, 6, 1});
    const int64_t lastDay = dayNumber({2028, 6, 20});

    std::vector<Planned> out;
    const int targeted = 108, probes = 60, busy = 3;
    for (int i = 0; i < count - targeted - probes - busy; ++i) {
        const int combination = i % 96;
        Planned p;
        p.id = i + 1;
        p.kind = static_cast<RepeatKind>(combination % 6);
        const bool withTime = combination / 6 % 2 == 0;
        p.active = combination / 12 % 2 == 0;
        p.showIfExpired = combination / 24 % 2 == 1;
        p.deleteAfter = combination / 48 % 2 == 1;
        p.date = dice.chance(55) ? special[static_cast<size_t>(dice.below(static_cast<int64_t>(special.size())))]
                                 : dateFromDayNumber(firstDay + dice.below(lastDay - firstDay + 1));
        if (withTime) {
            const int minutes = dice.chance(50) ? times[dice.below(std::size(times))] : static_cast<int>(dice.below(1440));
            p.time = TimeOfDay{minutes / 60, minutes % 60};
        }
        p.executed = dice.chance(8);
        if (dice.chance(3)) {
            p.busySeconds = 5 + static_cast<int>(dice.below(96));
            p.modal = dice.chance(50);
        }
        out.push_back(p);
    }
    // Each kind at the edges of the hours the changes leave out and repeat, on the days of
    // the changes (the daily and hourly ones from before them), with and without late showing.
    for (RepeatKind kind : {RepeatKind::None, RepeatKind::Weekly, RepeatKind::Monthly, RepeatKind::Yearly,
                            RepeatKind::Daily, RepeatKind::Hourly}) {
        const bool fromBefore = kind == RepeatKind::Daily || kind == RepeatKind::Hourly;
        for (int minutes : {60 + 59, 2 * 60, 2 * 60 + 30, 2 * 60 + 59, 3 * 60}) {
            for (const Date& day : fromBefore ? std::vector<Date>{{2027, 6, 1}} : std::vector<Date>{kAutumn, kSpring}) {
                for (bool late : {false, true}) {
                    Planned p;
                    p.id = static_cast<int>(out.size()) + 1;
                    p.date = day;
                    p.time = TimeOfDay{minutes / 60, minutes % 60};
                    p.kind = kind;
                    p.showIfExpired = late;
                    out.push_back(p);
                }
            }
        }
    }
    // Around 29 February 2028.
    const struct {
        Date date;
        int minutes; // -1: no time
        RepeatKind kind;
        bool late;
    } leap[] = {
        {kLeapDay, 30, RepeatKind::Yearly, false},          {{2024, 2, 29}, -1, RepeatKind::Yearly, false},
        {{2027, 2, 28}, 23 * 60 + 30, RepeatKind::Yearly, false}, {{2028, 1, 29}, 23 * 60 + 30, RepeatKind::Monthly, false},
        {{2028, 1, 30}, 30, RepeatKind::Monthly, false},    {{2027, 12, 31}, -1, RepeatKind::Monthly, false},
        {kLeapDay, 0, RepeatKind::Daily, false},            {kLeapDay, 30, RepeatKind::None, true},
    };
    for (const auto& l : leap) {
        Planned p;
        p.id = static_cast<int>(out.size()) + 1;
        p.date = l.date;
        if (l.minutes >= 0)
            p.time = TimeOfDay{l.minutes / 60, l.minutes % 60};
        p.kind = l.kind;
        p.showIfExpired = l.late;
        out.push_back(p);
    }
    // One hourly appointment for each minute of the hour: every minute the program checks
    // carries one out, so a minute left unchecked shows even when nothing else was due.
    for (int m = 0; m < probes; ++m) {
        Planned p;
        p.id = static_cast<int>(out.size()) + 1;
        p.date = {2027, 1, 1};
        p.time = TimeOfDay{1, m};
        p.kind = RepeatKind::Hourly;
        out.push_back(p);
    }
    // Busy over the minute 00 of every hour, so also over both changes: once blocked,
    // once in a box that lets the ticks through.
    for (bool modal : {false, true}) {
        Planned p;
        p.id = static_cast<int>(out.size()) + 1;
        p.date = {2027, 1, 1};
        p.time = TimeOfDay{0, 59};
        p.kind = RepeatKind::Hourly;
        p.busySeconds = 75;
        p.modal = modal;
        out.push_back(p);
    }
    // Blocked for exactly a minute: the run ends in the next minute's second 00.
    Planned p;
    p.id = static_cast<int>(out.size()) + 1;
    p.date = {2027, 1, 1};
    p.time = TimeOfDay{12, 20};
    p.kind = RepeatKind::Daily;
    p.busySeconds = 60;
    out.push_back(p);
    return out;
}

Event restart(int64_t at, int64_t until, TickMode mode = TickMode::Visible)
{
    return {Event::Restart, at, until, mode};
}
Event sleepUntil(int64_t at, int64_t wake) { return {Event::Sleep, at, wake, TickMode::Visible}; }
Event holdUntil(int64_t at, int64_t end) { return {Event::Hold, at, end, TickMode::Visible}; }
Event mode(int64_t at, TickMode m) { return {Event::Mode, at, 0, m}; }

Scenario scenario(std::string name, int64_t from, int64_t to, const std::vector<Planned>& appointments,
                  std::vector<Event> events, TickMode first = TickMode::Visible)
{
    Scenario s;
    s.name = std::move(name);
    s.fromMs = from + 437; // the program starts somewhere within a second
    s.toMs = to;
    s.appointments = appointments;
    s.events = std::move(events);
    s.firstMode = first;
    s.seed = static_cast<uint64_t>(from) ^ 0x5eedULL;
    return s;
}

// The nights of the changes, 29 February and a hidden clock on a sleeping machine, each
// on its own. Narrow: the hours that matter, for every test run; wide: a day either side.
std::vector<Scenario> shortScenarios(const std::vector<Planned>& a, bool wide)
{
    const int64_t before = wide ? 26 * kHour : 3 * kHour;
    const int64_t after = wide ? 23 * kHour : 3 * kHour;
    const int64_t autumnFrom = kAutumnChange - before, autumnTo = kAutumnChange + after;
    const int64_t springFrom = kSpringChange - before, springTo = kSpringChange + after;
    const int64_t july = utcMsOf({2027, 7, 10}, 0, 0, 0);
    const std::vector<Event> leapEvents = {
        restart(utcMsOf({2028, 2, 28}, 23, 59, 58), utcMsOf(kLeapDay, 0, 0, 0)),
        sleepUntil(utcMsOf(kLeapDay, 23, 50, 0), utcMsOf({2028, 3, 1}, 0, 20, 9)),
        mode(utcMsOf({2028, 3, 1}, 0, 40, 0), TickMode::Hidden),
        holdUntil(utcMsOf({2028, 3, 1}, 23, 59, 30), utcMsOf({2028, 3, 2}, 0, 0, 50))};
    std::vector<Scenario> leap;
    if (wide) {
        leap.push_back(scenario("Schalttag", utcMsOf({2028, 2, 28}, 6, 0, 0), utcMsOf({2028, 3, 2}, 3, 0, 0), a,
                                leapEvents));
    } else {
        // Its two midnights.
        leap.push_back(scenario("Schalttag, Mitternacht davor", utcMsOf({2028, 2, 28}, 22, 0, 0),
                                utcMsOf(kLeapDay, 1, 0, 0), a, leapEvents));
        leap.push_back(scenario("Schalttag, Mitternacht danach", utcMsOf(kLeapDay, 23, 0, 0),
                                utcMsOf({2028, 3, 1}, 1, 30, 0), a, leapEvents));
    }
    std::vector<Scenario> out = {
        scenario("Herbst, durchgehend", autumnFrom, autumnTo, a,
                 {holdUntil(kAutumnChange - 40 * kSecond, kAutumnChange + 70 * kSecond),
                  mode(kAutumnChange + 2 * kHour, TickMode::Hidden)}),
        scenario("Herbst, Ruhezustand 02:40 MESZ bis 02:10 MEZ", autumnFrom, autumnTo, a,
                 {sleepUntil(kAutumnChange - 20 * kMinute, kAutumnChange + 10 * kMinute + 5 * kSecond)}),
        scenario("Herbst, Neustart in der doppelten Stunde", autumnFrom, autumnTo, a,
                 {restart(kAutumnChange - 10 * kMinute, kAutumnChange + 5 * kMinute + 30 * kSecond)}),
        scenario("Herbst, Start um 02:40 MESZ", autumnFrom, autumnTo, a,
                 {restart(kAutumnChange - 50 * kMinute, kAutumnChange - 20 * kMinute)}),
        scenario("Herbst, verborgene Uhr", autumnFrom, autumnTo, a,
                 {sleepUntil(kAutumnChange - 5 * kMinute + 500, kAutumnChange + 7 * kMinute + 33 * kSecond),
                  mode(kAutumnChange + 2 * kHour, TickMode::Quarter)},
                 TickMode::Hidden),
        scenario("Fruehling, durchgehend", springFrom, springTo, a,
                 {holdUntil(kSpringChange - 40 * kSecond, kSpringChange + 70 * kSecond),
                  mode(kSpringChange + 2 * kHour, TickMode::Hidden)}),
        scenario("Fruehling, Ruhezustand 01:50 MEZ bis 03:10 MESZ", springFrom, springTo, a,
                 {sleepUntil(kSpringChange - 10 * kMinute, kSpringChange + 10 * kMinute + 7 * kSecond)}),
        scenario("Fruehling, Neustart genau um 03:00:00 MESZ", springFrom, springTo, a,
                 {restart(kSpringChange - 10 * kSecond, kSpringChange)}),
        scenario("Fruehling, 250-ms-Takt", springFrom, springTo, a, {}, TickMode::Quarter),
        scenario("Verborgene Uhr, Ruhezustaende, Neustart in derselben Minute", july, july + (wide ? 30 : 10) * kHour, a,
                 {sleepUntil(july + kHour + 500, july + kHour + 40 * kMinute + 3 * kSecond),
                  sleepUntil(july + 2 * kHour, july + 2 * kHour + 20 * kMinute + 57 * kSecond),
                  restart(july + 3 * kHour + 5 * kSecond, july + 3 * kHour + 40 * kSecond, TickMode::Hidden),
                  sleepUntil(july + 4 * kHour + 500, july + 4 * kHour + 29 * kMinute + 29 * kSecond),
                  restart(july + 5 * kHour, july + 5 * kHour + 2 * kMinute, TickMode::Quarter),
                  sleepUntil(july + 6 * kHour, july + 6 * kHour + 30 * kMinute + 31 * kSecond),
                  mode(july + 7 * kHour, TickMode::Hidden),
                  sleepUntil(july + 8 * kHour + 1 * kSecond, july + 8 * kHour + 52 * kMinute + 45 * kSecond)},
                 TickMode::Hidden),
    };
    out.insert(out.end() - 1, leap.begin(), leap.end());
    return out;
}

TickMode someMode(Dice& dice)
{
    const int64_t n = dice.below(10);
    return n < 6 ? TickMode::Visible : n < 9 ? TickMode::Hidden : TickMode::Quarter;
}

// 01.06.2027 to 01.06.2028: restarts (some within the same minute, some at second 00),
// sleeps (six of exactly an hour), held checks and changes of the timer, spread over the
// year; around the changes, the hours of the short stretch "durchgehend".
Scenario wholeYear(const std::vector<Planned>& a, uint64_t seed)
{
    const int64_t from = utcMsOf({2027, 6, 1}, 0, 0, 0);
    const int64_t to = utcMsOf({2028, 6, 1}, 0, 0, 0);
    Dice dice(seed);
    std::vector<Event> events;
    auto at = [&] { return from + 6 * kHour + dice.below(to - from - 12 * kHour); };
    for (int i = 0; i < 70; ++i) {
        const int64_t t = at();
        const int64_t n = dice.below(100);
        const int64_t down = n < 40 ? 1 + dice.below(90 * kSecond)
                             : n < 75 ? 2 * kMinute + dice.below(2 * kHour)
                                      : 2 * kHour + dice.below(12 * kHour);
        events.push_back(restart(t, t + down, someMode(dice)));
    }
    for (int i = 0; i < 6; ++i) { // up at second 00 exactly
        const int64_t t = at();
        events.push_back(restart(t, (t / kMinute + 2) * kMinute, someMode(dice)));
    }
    for (int i = 0; i < 120; ++i) {
        const int64_t t = at();
        int64_t wake = t + (i < 6 ? kHour : 10 * kMinute + dice.below(3 * kHour));
        // A wake within the first seconds of a minute leaves open whether that minute's
        // second 00 was slept through; the rules need no guessing here.
        const int64_t second = wake / kSecond % 60;
        if (second < 3)
            wake += 3 * kSecond;
        if (second > 57)
            wake -= 3 * kSecond;
        events.push_back(sleepUntil(t, wake));
    }
    for (int i = 0; i < 300; ++i) {
        const int64_t t = at();
        events.push_back(holdUntil(t, t + 3 * kSecond + dice.below(90 * kSecond)));
    }
    for (int i = 0; i < 150; ++i)
        events.push_back(mode(at(), someMode(dice)));
    // Leave the nights of the changes to the fixed events below.
    std::erase_if(events, [](const Event& e) {
        for (int64_t change : {kAutumnChange, kSpringChange})
            if (e.atMs > change - 4 * kHour && e.atMs < change + 4 * kHour)
                return true;
        return false;
    });
    std::sort(events.begin(), events.end(), [](const Event& x, const Event& y) { return x.atMs < y.atMs; });
    // One at a time: each begins well after the last one ended.
    std::vector<Event> spaced;
    for (const Event& e : events)
        if (spaced.empty() || e.atMs > std::max(spaced.back().atMs, spaced.back().untilMs) + 10 * kMinute)
            spaced.push_back(e);
    for (int64_t change : {kAutumnChange, kSpringChange}) {
        spaced.push_back(holdUntil(change - 40 * kSecond, change + 70 * kSecond));
        spaced.push_back(mode(change + 2 * kHour, TickMode::Visible));
    }
    std::sort(spaced.begin(), spaced.end(), [](const Event& x, const Event& y) { return x.atMs < y.atMs; });
    return scenario("Ganzes Jahr 01.06.2027 - 01.06.2028", from, to, a, std::move(spaced));
}

struct Result {
    Findings findings;
    Outcome outcome;
    std::vector<oracle::Expected> expected;
    double seconds = 0;
    double simulationSeconds = 0;
    double rulesSeconds = 0;
};

Result simulateAndCompare(const Scenario& s)
{
    const auto started = std::chrono::steady_clock::now();
    const zw::testing::DataDir directory;
    const auto since = [](auto t) { return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count(); };
    Result r;
    r.outcome = Simulation(s, directory).run();
    r.simulationSeconds = since(started);
    const auto rulesStarted = std::chrono::steady_clock::now();
    std::vector<oracle::Appointment> rules;
    for (const Planned& p : s.appointments)
        rules.push_back(oracleOf(p));
    r.expected = oracle::expectations(rules, oracle::runsOf(r.outcome.processes));
    r.rulesSeconds = since(rulesStarted);
    r.findings = compare(s, r.outcome, r.expected);
    r.seconds = since(started);
    return r;
}

void print(const Scenario& s, const Result& r)
{
    int events[4] = {0, 0, 0, 0};
    for (const Event& e : s.events)
        if (e.atMs >= s.fromMs && e.atMs < s.toMs)
            ++events[e.type];
    std::cout << "\n== " << s.name << " ==\n"
              << events[Event::Restart] << " Neustarts, " << events[Event::Sleep] << " Ruhezustaende, "
              << events[Event::Hold] << " gehaltene Pruefungen, " << events[Event::Mode] << " Taktwechsel; "
              << r.outcome.processes.size() << " Programmlaeufe, " << r.outcome.ticks << " Ticks, " << r.outcome.runs
              << " Pruefungen, " << r.outcome.seen.size() << " Ausfuehrungen; " << r.seconds << " s (Simulation "
              << r.simulationSeconds << " s, Regeln " << r.rulesSeconds << " s)\n"
              << table(r.findings);
    for (const std::string& n : r.findings.notes)
        std::cout << "  " << n << "\n";
    if (r.findings.notesLeftOut)
        std::cout << "  ... und " << r.findings.notesLeftOut << " weitere\n";
    for (const std::string& e : r.outcome.errors)
        std::cout << "  FEHLER " << e << "\n";
}

void expectClean(const Result& r, const std::string& name)
{
    SCOPED_TRACE(name);
    const Figures& t = r.findings.total;
    EXPECT_EQ(t.missed, 0);
    EXPECT_EQ(t.unexpected, 0);
    EXPECT_EQ(t.twiceInOneProgramRun, 0);
    EXPECT_EQ(t.oneOffTwice, 0);
    EXPECT_EQ(t.expected, t.seen);
    EXPECT_TRUE(r.outcome.errors.empty());
    EXPECT_GT(t.expected, 0);
}

// How many expected carryings-out fall into the Berlin wall hour `hour` of `day` and match.
long expectedIn(const Result& r, const Scenario& s, Date day, int hour, bool summer,
                const std::function<bool(const Planned&, const oracle::Expected&)>& match)
{
    std::map<int, const Planned*> byId;
    for (const Planned& p : s.appointments)
        byId[p.id] = &p;
    long n = 0;
    for (const oracle::Expected& e : r.expected) {
        const int64_t utc = e.utcMinute * 60;
        const LocalDateTime w = berlinWall(utc);
        if (w.date == day && w.time.hour == hour && (berlinOffsetSeconds(utc) == 7200) == summer &&
            match(*byId.at(e.id), e))
            ++n;
    }
    return n;
}

void runAll(const std::vector<Scenario>& scenarios, bool wholeYearToo)
{
    Findings all;
    long leapYearly = 0, leapMonthly = 0;
    for (size_t i = 0; i < scenarios.size(); ++i) {
        const Result r = simulateAndCompare(scenarios[i]);
        print(scenarios[i], r);
        expectClean(r, scenarios[i].name);
        all.total += r.findings.total;
        for (int k = 0; k < 6; ++k)
            all.byKind[k] += r.findings.byKind[k];

        // The stretches do attack what they are named after.
        const Scenario& s = scenarios[i];
        if (s.name == "Fruehling, durchgehend") {
            // Fixed times in the hour the spring leaves out: at 03:00, once.
            EXPECT_GE(expectedIn(r, s, kSpring, 3, true,
                                 [](const Planned& p, const oracle::Expected&) {
                                     return p.time && p.time->hour == 2 && p.kind != RepeatKind::Hourly;
                                 }),
                      15);
        }
        if (s.name.rfind("Schalttag", 0) == 0) {
            // The yearly appointment of 29 February, and the monthly one of the 29th.
            leapYearly += expectedIn(r, s, kLeapDay, 0, false, [](const Planned& p, const oracle::Expected& e) {
                return p.kind == RepeatKind::Yearly && p.date == kLeapDay && p.time && e.status == "Neue Nachricht";
            });
            leapMonthly += expectedIn(r, s, kLeapDay, 23, false, [](const Planned& p, const oracle::Expected&) {
                return p.kind == RepeatKind::Monthly && p.date == Date{2028, 1, 29};
            });
        }
        if (s.name == "Herbst, durchgehend") {
            // Hourly ones in both of the two hours 02.
            for (bool summer : {true, false})
                EXPECT_GT(expectedIn(r, s, kAutumn, 2, summer,
                                     [](const Planned& p, const oracle::Expected&) {
                                         return p.kind == RepeatKind::Hourly;
                                     }),
                          0);
            // Fixed times in that hour only in the first.
            const auto fixedInHour2 = [](const Planned& p, const oracle::Expected& e) {
                return p.kind != RepeatKind::Hourly && p.time && p.time->hour == 2 && e.status.rfind("Abgelaufen", 0) != 0;
            };
            EXPECT_GE(expectedIn(r, s, kAutumn, 2, true, fixedInHour2), 15);
            EXPECT_EQ(expectedIn(r, s, kAutumn, 2, false, fixedInHour2), 0);
        }
    }
    EXPECT_EQ(leapYearly, 1);
    EXPECT_EQ(leapMonthly, 1);
    std::cout << "\n== Alle Strecken" << (wholeYearToo ? " und das ganze Jahr" : "") << " ==\n" << table(all);
    std::cout << "(Die Startpruefung eines neuen Programmlaufs kuendigt die Termine ohne Zeit des Tages wieder an und\n"
                 " prueft ihre Minute, wie die Regeln es verlangen; von frueheren Programmlaeufen weiss sie nichts.)\n";
}

} // namespace

TEST(SimulatedTime, BerlinTableAgreesWithTheTimeZoneDatabase)
{
    if (!std::filesystem::exists("/usr/share/zoneinfo/Europe/Berlin"))
        GTEST_SKIP() << "no time zone database";
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    // Every hour of 2027 and 2028, and every ten seconds of the hours around their changes.
    std::vector<int64_t> instants;
    for (int64_t t = utcMsOf({2027, 1, 1}, 0, 0, 0) / 1000; t < utcMsOf({2029, 1, 1}, 0, 0, 0) / 1000; t += 3600)
        instants.push_back(t + 1799);
    for (Date day : {Date{2027, 3, 28}, Date{2027, 10, 31}, Date{2028, 3, 26}, Date{2028, 10, 29}}) {
        const int64_t change = dayNumber(day) * 86400 + 3600;
        for (int64_t t = change - 3 * 3600; t <= change + 3 * 3600; t += 10)
            instants.push_back(t);
    }
    long compared = 0;
    {
        for (int64_t u : instants) {
            const auto tt = static_cast<std::time_t>(u);
            std::tm tm{};
            ::localtime_r(&tt, &tm);
            const LocalDateTime w = berlinWall(u);
            ASSERT_EQ(w, (LocalDateTime{{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, {tm.tm_hour, tm.tm_min, tm.tm_sec}}))
                << u;
            ASSERT_EQ(oracle::berlinWallMinute(floorDiv(u, 60)), floorDiv(u + tm.tm_gmtoff, 60)) << u;
            ++compared;
        }
    }
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    EXPECT_GT(compared, 25000);
    // The clock the simulation gives the due check says so as well.
    auto clock = berlinClock();
    clock.setInstantMs(kAutumnChange - 1);
    EXPECT_EQ(clock.now(), (LocalDateTime{kAutumn, {2, 59, 59}}));
    clock.live(Ms(1));
    EXPECT_EQ(clock.now(), (LocalDateTime{kAutumn, {2, 0, 0}}));
    clock.setInstantMs(kSpringChange - 1);
    EXPECT_EQ(clock.now(), (LocalDateTime{kSpring, {1, 59, 59}}));
    clock.live(Ms(1));
    EXPECT_EQ(clock.now(), (LocalDateTime{kSpring, {3, 0, 0}}));
}

TEST(SimulatedTime, ClockChangesLeapDayAndASleepingMachine)
{
    runAll(shortScenarios(planAppointments(300, 2027), false), false);
}

// Under a minute at -O2; scripts/attack-simulated-year runs it.
TEST(SimulatedTime, DISABLED_WholeYear)
{
    const std::vector<Planned> a = planAppointments(1000, 1);
    std::vector<Scenario> all = shortScenarios(a, true);
    all.insert(all.begin(), wholeYear(a, 7));
    runAll(all, true);
}
