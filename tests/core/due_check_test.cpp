#include "common/zeitwache_error.h"
#include "line_builder.h"
#include "recording_executor.h"
#include "scheduler/due_check.h"
#include "test_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <stdexcept>

using namespace zw;
using zw::testing::LineSpec;
using zw::testing::makeLine;
using line::RepeatKind;

namespace {

using zw::testing::RecordingExecutor;
using zw::testing::TestClock;

struct DueCheckFixture : ::testing::Test {
    AppointmentList list;
    TestClock clock{{{2026, 12, 6}, {0, 0, 30}}}; // without a monotonic reading
    RecordingExecutor executor{list};
    DueCheck check{list, clock, executor};
    int saves = 0;
    std::vector<std::string> errors;

    void SetUp() override
    {
        list.setSaver([this](const auto&) { ++saves; });
        check.setErrorReporter([this](const ZeitwacheError& e) { errors.push_back(e.what()); });
    }
    void add(const LineSpec& s) { list.append(makeLine(s)); }
    // A run at second 00 of the given minute.
    void runAt(const std::string& date, int h, int m)
    {
        clock.set(date, h, m, 0);
        check.run(clock.now());
    }
    // Runs every minute of a day and returns the minutes (h*60+m) at which the message was
    // carried out.
    std::vector<std::string> firingDays(const std::string& from, const std::string& to, int h, int m)
    {
        std::vector<std::string> days;
        Date d = *parseGermanDate(from, 2026);
        Date end = *parseGermanDate(to, 2026);
        for (; d <= end; d = dateFromDayNumber(dayNumber(d) + 1)) {
            size_t before = executor.count();
            runAt(formatDate(d), h, m);
            if (executor.count() > before)
                days.push_back(formatDate(d));
        }
        return days;
    }
};

} // namespace

TEST_F(DueCheckFixture, OneOffFiresAtItsMinuteOnceAndIsMarked)
{
    add({.date = "06.12.2026", .time = "10:00"});
    runAt("06.12.2026", 9, 59);
    EXPECT_TRUE(executor.carried().empty());
    runAt("06.12.2026", 10, 0);
    ASSERT_EQ(executor.count(), 1u);
    EXPECT_EQ(executor.carried()[0].statusText, "Neue Nachricht");
    EXPECT_EQ(line::flag(list.get(0), line::kExecuted), '1');
    EXPECT_EQ(saves, 2); // every run saves, changed or not
    // The same minute again (the clock set back): a one-off that ran never runs again.
    runAt("06.12.2026", 10, 0);
    EXPECT_EQ(executor.count(), 1u);
}

TEST_F(DueCheckFixture, ExpiredAppointmentsAreReportedOnlyWhenAskedFor)
{
    add({.date = "06.12.2026", .time = "10:00", .showIfExpired = true, .message = "late"});
    add({.date = "06.12.2026", .time = "10:00", .showIfExpired = false, .message = "silent"});
    add({.date = "10.11.2026", .time = "", .showIfExpired = true, .message = "november"});
    add({.date = "05.01.2027", .time = "08:00", .showIfExpired = true, .message = "future"});
    runAt("06.12.2026", 11, 30);
    EXPECT_EQ(executor.messages(), (std::vector<std::string>{"late", "november"}));
    EXPECT_EQ(executor.carried()[0].statusText, "Abgelaufener Termin vom 06.12.2026 10:00");
    EXPECT_EQ(executor.carried()[1].statusText, "Abgelaufener Termin vom 10.11.2026 00:00");
    runAt("06.12.2026", 11, 31);
    EXPECT_EQ(executor.count(), 2u); // marked executed: reported once
}

TEST_F(DueCheckFixture, DailyFromThePastIsReportedOnceThenRepeats)
{
    add({.date = "01.12.2026", .time = "07:45", .repeat = RepeatKind::Daily, .showIfExpired = true});
    runAt("06.12.2026", 9, 0);
    ASSERT_EQ(executor.count(), 1u);
    EXPECT_EQ(executor.carried()[0].statusText, "Abgelaufener Termin vom 01.12.2026 07:45");
    runAt("07.12.2026", 7, 45);
    runAt("08.12.2026", 7, 45);
    ASSERT_EQ(executor.count(), 3u);
    EXPECT_EQ(executor.carried()[2].statusText, "Wiederholung (T\xE4glich)");
}

TEST_F(DueCheckFixture, NoTimeAppointmentsAreAnnouncedAtTheFirstRunOfTheDay)
{
    add({.date = "06.12.2026", .time = "", .message = "heute"});
    runAt("06.12.2026", 8, 0); // first run after start-up
    ASSERT_EQ(executor.count(), 1u);
    EXPECT_EQ(executor.carried()[0].statusText, "Neue Nachricht");
    runAt("06.12.2026", 8, 1);
    EXPECT_EQ(executor.count(), 1u);

    // Entered later that day: the day's first run is over; only late showing reports it.
    add({.date = "06.12.2026", .time = "", .showIfExpired = true, .message = "spaet"});
    runAt("06.12.2026", 9, 0);
    ASSERT_EQ(executor.count(), 2u);
    EXPECT_EQ(executor.carried()[1].statusText, "Abgelaufener Termin vom 06.12.2026 00:00");
}

TEST_F(DueCheckFixture, MidnightCountsAsNoTimeAndFiresOnce)
{
    add({.date = "06.12.2026", .time = "00:00"});
    runAt("05.12.2026", 23, 59);
    runAt("06.12.2026", 0, 0);
    EXPECT_EQ(executor.count(), 1u);
}

TEST_F(DueCheckFixture, MonthlyOnThe31stSkipsShortMonths)
{
    add({.date = "31.01.2026", .time = "10:00", .repeat = RepeatKind::Monthly});
    auto days = firingDays("01.01.2026", "31.12.2026", 10, 0);
    EXPECT_EQ(days, (std::vector<std::string>{"31.01.2026", "31.03.2026", "31.05.2026", "31.07.2026",
                                              "31.08.2026", "31.10.2026", "31.12.2026"}));
}

TEST_F(DueCheckFixture, YearlyOn29FebruaryOnlyInLeapYears)
{
    add({.date = "29.02.2028", .time = "10:00", .repeat = RepeatKind::Yearly});
    auto days = firingDays("01.02.2028", "31.03.2032", 10, 0);
    EXPECT_EQ(days, (std::vector<std::string>{"29.02.2028", "29.02.2032"}));
}

TEST_F(DueCheckFixture, WeeklyOnTheStartWeekdayFromTheStartOn)
{
    add({.date = "09.12.2026", .time = "10:00", .repeat = RepeatKind::Weekly}); // a Wednesday
    auto days = firingDays("01.12.2026", "31.12.2026", 10, 0);
    EXPECT_EQ(days, (std::vector<std::string>{"09.12.2026", "16.12.2026", "23.12.2026", "30.12.2026"}));
}

TEST_F(DueCheckFixture, HourlyFromTheStartHourThenEveryHour)
{
    add({.date = "06.12.2026", .time = "14:25", .repeat = RepeatKind::Hourly});
    std::vector<int> hours;
    for (const char* day : {"05.12.2026", "06.12.2026", "07.12.2026"}) {
        for (int h = 0; h < 24; ++h) {
            size_t before = executor.count();
            runAt(day, h, 25);
            runAt(day, h, 26);
            if (executor.count() > before)
                hours.push_back(std::string(day) == "06.12.2026" ? h : 100 + h);
        }
    }
    std::vector<int> expected;
    for (int h = 14; h < 24; ++h)
        expected.push_back(h);
    for (int h = 0; h < 24; ++h)
        expected.push_back(100 + h);
    EXPECT_EQ(hours, expected);
    EXPECT_EQ(executor.carried()[0].statusText, "Neue Nachricht");
    EXPECT_EQ(executor.carried()[1].statusText, "Wiederholung (St\xFCndlich)");
}

TEST_F(DueCheckFixture, HourlyWithoutTimeFiresAtMinuteZero)
{
    add({.date = "06.12.2026", .time = "", .repeat = RepeatKind::Hourly});
    runAt("06.12.2026", 8, 30); // day's first run announces it
    runAt("06.12.2026", 9, 0);
    runAt("06.12.2026", 9, 1);
    runAt("06.12.2026", 10, 0);
    EXPECT_EQ(executor.count(), 3u);
}

TEST_F(DueCheckFixture, InactiveLinesAreNeverCarriedOutNorReported)
{
    add({.date = "06.12.2026", .time = "10:00", .active = false, .showIfExpired = true});
    add({.date = "01.12.2026", .time = "", .active = false, .showIfExpired = true});
    runAt("06.12.2026", 10, 0);
    runAt("06.12.2026", 11, 0);
    EXPECT_TRUE(executor.carried().empty());
}

TEST_F(DueCheckFixture, SecondOfTwoIsCarriedOutWhenTheFirstIsDeleted)
{
    add({.date = "06.12.2026", .time = "10:00", .deleteAfter = true, .message = "erster"});
    add({.date = "06.12.2026", .time = "10:00", .message = "zweiter"});
    runAt("06.12.2026", 10, 0);
    EXPECT_EQ(executor.messages(), (std::vector<std::string>{"erster", "zweiter"}));
    EXPECT_EQ(executor.carried()[1].index, 0u);
    ASSERT_EQ(list.count(), 1u);
    EXPECT_EQ(line::readTexts(list.get(0)).message, "zweiter");
}

// The check skips lines that cannot be due from what it noted of them; every kind of change
// after a run must reach those notes, or a line is judged by another's date.
TEST_F(DueCheckFixture, EveryChangeOfTheListAfterARunCountsAtTheNext)
{
    const std::string later = makeLine({.date = "24.12.2026", .message = "spaeter"});
    const std::string due = makeLine({.date = "06.12.2026", .message = "faellig"});
    const std::string inactive = makeLine({.date = "06.12.2026", .active = false, .message = "faellig"});
    const struct {
        const char* what;
        std::vector<std::string> before;
        std::function<void(AppointmentList&)> change;
    } cases[] = {
        {"put", {later}, [&](AppointmentList& l) { l.put(0, due); }},
        {"put of the flag", {inactive}, [&](AppointmentList& l) { l.put(0, due); }},
        {"insert before", {later}, [&](AppointmentList& l) { l.insert(0, due); }},
        {"remove before", {later, due}, [&](AppointmentList& l) { l.remove(0); }},
        {"remove several", {later, later, due}, [&](AppointmentList& l) { l.removeAll({0, 1}); }},
        {"assign", {later}, [&](AppointmentList& l) { l.assign({later, due}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        list.assign(c.before);
        executor.forget();
        runAt("06.12.2026", 9, 0);
        c.change(list);
        runAt("06.12.2026", 10, 0);
        EXPECT_EQ(executor.messages(), std::vector<std::string>{"faellig"});
    }
}

TEST_F(DueCheckFixture, DamagedLineStopsTheRunAfterTheLinesBeforeIt)
{
    add({.date = "06.12.2026", .time = "10:00", .message = "davor"});
    std::string damaged = makeLine({.date = "06.12.2026", .time = "10:00", .active = false});
    damaged.replace(1, 10, "31.02.2026");
    list.append(damaged);
    add({.date = "06.12.2026", .time = "10:00", .message = "danach"});
    clock.set("06.12.2026", 10, 0, 0);
    check.tick();
    EXPECT_EQ(executor.messages(), std::vector<std::string>{"davor"});
    EXPECT_EQ(errors, std::vector<std::string>{"'31.02.2026' ist kein gültiges Datum"});
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(check.lastCheckDay(), "");
    // An empty line stops the run too.
    list.put(1, "");
    EXPECT_THROW(check.run(clock.now()), ZeitwacheError);
}

TEST_F(DueCheckFixture, TickRunsOncePerMinuteAtSecondZero)
{
    add({.date = "06.12.2026", .time = "10:00", .repeat = RepeatKind::Daily});
    clock.set("06.12.2026", 9, 59, 59);
    check.tick();
    for (int i = 0; i < 4; ++i) { // four ticks fall in second 00
        clock.set("06.12.2026", 10, 0, 0);
        check.tick();
    }
    EXPECT_EQ(executor.count(), 1u);
    EXPECT_EQ(saves, 1);
    // A clock that jumps over second 00 leaves that minute unchecked.
    clock.set("07.12.2026", 9, 59, 58);
    check.tick();
    clock.set("07.12.2026", 10, 0, 1);
    check.tick();
    EXPECT_EQ(executor.count(), 1u);
}

TEST_F(DueCheckFixture, LastCheckDayKnowsOnlyTheDayOfTheMonth)
{
    add({.date = "06.11.2026", .time = "", .repeat = RepeatKind::Monthly});
    runAt("06.12.2026", 0, 0);
    EXPECT_EQ(executor.count(), 1u);
    // No run between the 6th and the 6th of the next month (the machine slept).
    runAt("06.01.2027", 0, 5);
    EXPECT_EQ(executor.count(), 1u);
}

TEST_F(DueCheckFixture, ARunHeldBackByAStoreRunsForItsMinuteAfterwards)
{
    add({.date = "06.12.2026", .time = "10:00", .message = "zehn"});
    {
        auto hold = check.hold();
        clock.set("06.12.2026", 10, 0, 0);
        check.tick();
        EXPECT_TRUE(executor.carried().empty());
        clock.set("06.12.2026", 10, 1, 15); // the query stayed open past the minute
        check.tick();
    }
    ASSERT_EQ(executor.count(), 1u);
    EXPECT_EQ(executor.carried()[0].statusText, "Neue Nachricht");
}

TEST_F(DueCheckFixture, NoRunStartsInsideAnotherAndTheKeptMinuteFollows)
{
    add({.date = "06.12.2026", .time = "10:00", .message = "zehn"});
    add({.date = "06.12.2026", .time = "10:01", .message = "zehn-eins"});
    int nestedTicks = 0;
    executor.setDuring([&](auto&) {
        if (nestedTicks++ > 0)
            return;
        // A modal box stays open into the next minute; its ticks arrive meanwhile.
        clock.set("06.12.2026", 10, 0, 5);
        check.tick();
        clock.set("06.12.2026", 10, 1, 0);
        check.tick();
        EXPECT_TRUE(check.running());
    });
    clock.set("06.12.2026", 10, 0, 0);
    check.tick();
    EXPECT_EQ(executor.messages(), (std::vector<std::string>{"zehn", "zehn-eins"}));
    EXPECT_EQ(saves, 2);
}

TEST_F(DueCheckFixture, MinutesThatPassedWhileBusyAreCheckedOnceAndClockJumpsSkipped)
{
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, int>> ticks; // wall clock on 06.12.2026, monotonic seconds
        std::vector<std::string> fired; // messages carried out, in order
    } cases[] = {
        {"busy over second 00", {{"09:59:58", 0}, {"10:00:03", 5}, {"10:00:04", 6}}, {"10:00"}},
        {"busy over four minutes", {{"09:58:30", 0}, {"10:02:10", 220}}, {"09:59", "10:00", "10:01", "10:02"}},
        {"busy into second 00 itself", {{"09:59:50", 0}, {"10:01:00", 70}}, {"10:00", "10:01"}},
        {"clock set forward, or woken from suspend", {{"09:58:30", 0}, {"10:02:10", 1}}, {}},
        {"clock set back", {{"10:02:10", 0}, {"09:58:30", 1}}, {}},
        {"stopped for over an hour", {{"08:59:30", 0}, {"10:00:30", 3660}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        list.assign({});
        for (int m = 9 * 60 + 58; m <= 10 * 60 + 3; ++m)
            add({.date = "06.12.2026", .time = formatHourMinute(m / 60, m % 60), .repeat = RepeatKind::Daily,
                 .message = formatHourMinute(m / 60, m % 60)});
        executor.forget();
        DueCheck fresh{list, clock, executor};
        for (const auto& [wall, steady] : c.ticks) {
            clock.set({{2026, 12, 6}, *parseTime(wall)});
            clock.setMonotonic(std::chrono::seconds(100000 + steady));
            fresh.tick();
        }
        EXPECT_EQ(executor.messages(), c.fired);
        for (const auto& call : executor.carried())
            EXPECT_EQ(call.statusText, "Neue Nachricht"); // each checked as its own minute
    }
}

TEST_F(DueCheckFixture, MinutesThatPassedDuringTheStartUpRunOrAHoldAreNotLost)
{
    add({.date = "06.12.2026", .time = "09:59", .message = "jetzt"});
    add({.date = "06.12.2026", .time = "10:00", .message = "zehn"});
    add({.date = "06.12.2026", .time = "10:01", .message = "zehn-eins"});
    const auto at = [&](int m, int s, int steady) {
        clock.set({{2026, 12, 6}, {9 + m / 60, m % 60, s}});
        clock.setMonotonic(std::chrono::seconds(steady));
    };
    at(59, 58, 0);
    executor.setDuring([&](auto&) { at(60, 4, 6); }); // the start-up run starts a slow program
    check.run(clock.now());
    executor.setDuring(nullptr);
    {
        auto hold = check.hold();
        check.tick();
        at(61, 2, 64);
        check.tick();
        EXPECT_EQ(executor.messages(), std::vector<std::string>{"jetzt"});
    }
    EXPECT_EQ(executor.messages(), (std::vector<std::string>{"jetzt", "zehn", "zehn-eins"}));
}

TEST_F(DueCheckFixture, AnyExceptionOfARunEndsInTheReporterNeverInTheCaller)
{
    add({.date = "06.12.2026", .time = "10:00", .repeat = RepeatKind::Daily});
    const std::pair<RecordingExecutor::Hook, std::string> cases[] = {
        {[](auto&) { throw std::runtime_error("kaputt"); }, "Unerwarteter Fehler bei der Terminprüfung: kaputt"},
        {[](auto&) { throw 42; }, "Unerwarteter Fehler bei der Terminprüfung"},
    };
    for (const auto& [thrower, reported] : cases) {
        executor.setDuring(thrower);
        errors.clear();
        for (const char* day : {"06.12.2026", "07.12.2026"}) {
            clock.set(day, 9, 59, 59);
            check.tick();
            clock.set(day, 10, 0, 0);
            std::optional<DueCheck::Hold> hold;
            if (day[1] == '7')
                hold.emplace(check);
            EXPECT_NO_THROW(check.tick()); // from the event loop
            hold.reset(); // from a destructor: an escape would end the process
        }
        EXPECT_EQ(errors, (std::vector<std::string>{reported, reported}));
    }
    check.setErrorReporter([](const ZeitwacheError&) { throw std::logic_error("Box"); });
    clock.set("08.12.2026", 10, 0, 0);
    EXPECT_NO_THROW(check.tick()); // a reporter that throws is no way out either
}

namespace {

// Drives the check as the clock window's timer does: a tick after each change of the second.
// The clock has a time zone and a monotonic reading that stands still while the machine sleeps.
struct Drive {
    TestClock& clock;
    DueCheck& check;
    // UTC of a Berlin wall time, in winter (+1) or summer (+2) time.
    static int64_t at(const char* date, int h, int m, int s, bool summer)
    {
        return dayNumber(*parseGermanDate(date, 2027)) * 86400 + h * 3600 + m * 60 + s - (summer ? 7200 : 3600);
    }
    void start(int64_t utc)
    {
        sleepUntil(utc);
        check.run(clock.now());
    }
    void ticksUntil(int64_t utc)
    {
        while (*clock.utcSeconds() < utc) {
            clock.live(std::chrono::seconds(1));
            check.tick();
        }
    }
    void sleepUntil(int64_t utc) { clock.setInstantMs(utc * 1000); }
    void liveWithoutTick(int64_t seconds) { clock.live(std::chrono::seconds(seconds)); }
    void setBy(int64_t seconds) { clock.jump(std::chrono::seconds(seconds)); } // a clock set by hand moves UTC too
    void tick() { check.tick(); }
};

struct ClockCase {
    const char* what;
    const char* changeDay; // where the offset changes at 01:00 UTC
    int offsetBefore;      // hours
    int offsetAfter;
    std::vector<LineSpec> lines;
    std::map<std::string, int64_t> blockFor;
    std::function<void(Drive&)> drive;
    std::vector<std::string> fired;
    std::vector<std::string> statuses{}; // if given, those of the carryings-out in order
};

LineSpec daily(const char* time, const char* message)
{
    return {.date = "01.10.2027", .time = time, .repeat = RepeatKind::Daily, .message = message};
}

} // namespace

TEST(DueCheckClockChanges, FixedTimesAtTheirFirstReadingHourlyOncePerRealHourJumpsNotCaughtUp)
{
    const char* autumn = "31.10.2027";
    const char* spring = "26.03.2028";
    const ClockCase cases[] = {
        {"autumn: fixed times in the repeated hour once, hourly in both hours",
         autumn, 2, 1,
         {daily("02:30", "taeglich"),
          {.date = "31.10.2027", .time = "02:30", .repeat = RepeatKind::Weekly, .message = "woechentlich"},
          {.date = "31.10.2027", .time = "02:30", .message = "einmal"},
          {.date = "01.10.2027", .time = "00:30", .repeat = RepeatKind::Hourly, .message = "stuendlich"}},
         {},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 2, 20, 0, true));
             d.ticksUntil(Drive::at("31.10.2027", 3, 40, 0, false));
         },
         {"taeglich@02:30", "woechentlich@02:30", "einmal@02:30", "stuendlich@02:30", "stuendlich@02:30",
          "stuendlich@03:30"}},
        {"autumn: started in the first hour, the second carries out no fixed times",
         autumn, 2, 1,
         {daily("02:10", "zehn-nach"), daily("02:50", "zehn-vor")},
         {},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 2, 40, 0, true));
             d.ticksUntil(Drive::at("31.10.2027", 3, 5, 0, false));
         },
         {"zehn-vor@02:50"}},
        {"autumn: restarted in the second hour, it knows its minutes were read before",
         autumn, 2, 1,
         {daily("02:30", "taeglich"),
          {.date = "01.10.2027", .time = "00:30", .repeat = RepeatKind::Hourly, .message = "stuendlich"}},
         {},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 2, 5, 0, false));
             d.ticksUntil(Drive::at("31.10.2027", 3, 40, 0, false));
         },
         {"stuendlich@02:30", "stuendlich@03:30"}},
        {"spring: started in the first minute after the gap, it carries out the gap's fixed times",
         spring, 1, 2,
         {daily("02:30", "taeglich"), daily("01:59", "davor")},
         {},
         [](Drive& d) {
             d.start(Drive::at("26.03.2028", 3, 0, 15, true));
             d.ticksUntil(Drive::at("26.03.2028", 3, 5, 0, true));
         },
         {"taeglich@03:00"}},
        {"autumn: busy over the change, the minutes after it caught up as what they read",
         autumn, 2, 1,
         {daily("02:00", "zwei"), daily("02:59", "langsam"),
          {.date = "01.10.2027", .time = "01:00", .repeat = RepeatKind::Hourly, .message = "stuendlich"}},
         {{"langsam", 90}},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 1, 58, 30, true));
             d.ticksUntil(Drive::at("31.10.2027", 2, 10, 0, false));
         },
         {"zwei@02:00", "stuendlich@02:00", "langsam@02:59", "stuendlich@02:00"}},
        {"spring: the left-out hour's fixed times at 03:00, hourly not caught up",
         spring, 1, 2,
         {daily("02:30", "taeglich"), daily("03:00", "drei"),
          {.date = "26.03.2028", .time = "02:00", .message = "einmal"},
          {.date = "26.03.2028", .time = "02:59", .repeat = RepeatKind::Weekly, .message = "woechentlich"},
          {.date = "01.10.2027", .time = "00:30", .repeat = RepeatKind::Hourly, .message = "stuendlich"}},
         {},
         [](Drive& d) {
             d.start(Drive::at("26.03.2028", 1, 20, 0, false));
             d.ticksUntil(Drive::at("26.03.2028", 3, 40, 0, true));
         },
         {"stuendlich@01:30", "taeglich@03:00", "drei@03:00", "einmal@03:00", "woechentlich@03:00",
          "stuendlich@03:30"},
         {"Wiederholung (St\xFC" "ndlich)", "Wiederholung (T\xE4glich)", "Wiederholung (T\xE4glich)", "Neue Nachricht",
          "Neue Nachricht", "Wiederholung (St\xFC" "ndlich)"}},
        {"spring at midnight: a one-off in the day's left-out last hour with the next day's first minute",
         spring, -2, -1,
         {{.date = "25.03.2028", .time = "23:30", .message = "einmal"}},
         {},
         [](Drive& d) {
             d.start(Drive::at("26.03.2028", 1, 50, 0, false)); // 22:50 of the day before
             d.ticksUntil(Drive::at("26.03.2028", 2, 10, 0, false));
         },
         {"einmal@00:00"}},
        {"spring: busy over the change, the left-out hour with the first minute after it",
         spring, 1, 2,
         {daily("01:59", "langsam"), daily("02:30", "taeglich"), daily("03:00", "drei")},
         {{"langsam", 90}},
         [](Drive& d) {
             d.start(Drive::at("26.03.2028", 1, 58, 30, false));
             d.ticksUntil(Drive::at("26.03.2028", 3, 5, 0, true));
         },
         {"langsam@01:59", "taeglich@03:00", "drei@03:00"}},
        {"a run busy up to second 00 of a later minute leaves that minute to the next tick",
         autumn, 1, 1,
         {daily("10:00", "zehn"), daily("10:01", "zehn-eins")},
         {{"zehn", 60}},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 9, 59, 59, false));
             d.ticksUntil(Drive::at("31.10.2027", 10, 0, 0, false)); // the run ends at 10:01:00
             d.tick();                                                // the timer, overdue, at once
             d.ticksUntil(Drive::at("31.10.2027", 10, 3, 0, false));
         },
         {"zehn@10:00", "zehn-eins@10:01"}},
        {"woken with the timer's wait left: the minutes lived after waking are checked",
         autumn, 1, 1,
         {daily("11:20", "verschlafen"), daily("11:21", "wach")},
         {},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 10, 0, 1, false));
             d.sleepUntil(Drive::at("31.10.2027", 11, 20, 30, false));
             d.liveWithoutTick(39); // the hidden clock's wait of 59 s runs out after waking
             d.tick();
             d.ticksUntil(Drive::at("31.10.2027", 11, 23, 0, false));
         },
         {"wach@11:21"}},
        {"woken: a second 00 slept through in the last seconds lived may be taken in",
         autumn, 1, 1,
         {daily("11:20", "verschlafen"), daily("11:21", "wach")},
         {},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 10, 0, 1, false));
             d.liveWithoutTick(50); // fell asleep 50 s into the wait
             d.sleepUntil(Drive::at("31.10.2027", 11, 20, 5, false));
             d.liveWithoutTick(9);
             d.tick();
             d.ticksUntil(Drive::at("31.10.2027", 11, 23, 0, false));
         },
         {"verschlafen@11:20", "wach@11:21"}},
        {"the clock set forward an hour by hand: the hour is not caught up",
         autumn, 1, 1,
         {daily("10:30", "uebersprungen"), daily("11:31", "danach")},
         {},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 10, 0, 30, false));
             d.ticksUntil(Drive::at("31.10.2027", 10, 1, 0, false));
             d.setBy(3600);
             d.ticksUntil(Drive::at("31.10.2027", 11, 35, 0, false));
         },
         {"danach@11:31"}},
        {"the clock set back by hand: its minutes are checked again",
         autumn, 1, 1,
         {daily("10:00", "zehn")},
         {},
         [](Drive& d) {
             d.start(Drive::at("31.10.2027", 9, 59, 30, false));
             d.ticksUntil(Drive::at("31.10.2027", 10, 5, 0, false));
             d.setBy(-6 * 60);
             d.ticksUntil(Drive::at("31.10.2027", 10, 2, 0, false));
         },
         {"zehn@10:00", "zehn@10:00"}},
    };
    for (const ClockCase& c : cases) {
        SCOPED_TRACE(c.what);
        AppointmentList list;
        list.setSaver([](const auto&) {});
        for (const LineSpec& l : c.lines)
            list.append(makeLine(l));
        TestClock clock;
        const int64_t changeAt = dayNumber(*parseGermanDate(c.changeDay, 2027)) * 86400 + 3600;
        clock.setZone([&c, changeAt](int64_t t) { return (t < changeAt ? c.offsetBefore : c.offsetAfter) * 3600; });
        clock.setMonotonic(std::chrono::seconds(500000));
        RecordingExecutor executor(list);
        // An appointment named in blockFor keeps the program busy that long, ticks held up.
        executor.setDuring([&](const DueAppointment& a) {
            if (const auto it = c.blockFor.find(a.message); it != c.blockFor.end())
                clock.live(std::chrono::seconds(it->second));
        });
        DueCheck check(list, clock, executor);
        Drive drive{clock, check};
        c.drive(drive);
        std::vector<std::string> fired, statuses;
        for (const DueAppointment& a : executor.carried()) {
            fired.push_back(a.message + "@" + formatHourMinute(a.minute.time.hour, a.minute.time.minute));
            statuses.push_back(a.statusText);
        }
        EXPECT_EQ(fired, c.fired);
        if (!c.statuses.empty()) {
            EXPECT_EQ(statuses, c.statuses);
        }
    }
}
