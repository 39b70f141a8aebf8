// iCalendar in and out: the round trip, files as other calendar programs write them, and
// files that break.
#include "interchange/icalendar.h"
#include "line_builder.h"
#include "store/data_file.h"
#include "test_clock.h"

#include <gtest/gtest.h>

using namespace zw;
using zw::testing::LineSpec;
using zw::testing::makeLine;
using R = line::RepeatKind;

namespace {

// Now is 09.12.2026 10:00, in Berlin's winter time; the clock keeps it all year.
const std::string kZone = "Europe/Berlin";
zw::testing::TestClock berlinClock()
{
    zw::testing::TestClock clock({{2026, 12, 9}, {9, 0, 0}}); // UTC
    clock.setZone([](int64_t) { return 3600; });
    return clock;
}

std::string calendar(const std::string& body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//DE\r\n" + body + "END:VCALENDAR\r\n";
}

std::string event(const std::string& props) { return "BEGIN:VEVENT\r\nUID:1@x\r\n" + props + "END:VEVENT\r\n"; }

struct Imported {
    std::vector<std::string> lines;
    std::string report;
};

Imported import(const std::string& ics, std::vector<std::string> before = {}, bool replace = false)
{
    const auto clock = berlinClock();
    const ical::Calendar c = ical::parseCalendar(ics, clock, kZone);
    EXPECT_FALSE(c.broken) << *c.broken;
    AppointmentList list;
    list.assign(std::move(before));
    const ical::ImportReport r = ical::importCalendar(list, clock, c, replace);
    return {list.lines(), r.text};
}

TEST(ICalendar, ExportThenImportIntoAnEmptyListGivesTheSameDataFile)
{
    const std::vector<std::string> lines = {
        makeLine({.date = "06.12.2026", .time = "10:00", .repeat = R::Hourly, .active = false,
                  .message = "  Pause ] [ mit Blanks  "}),
        makeLine({.date = "24.12.2026", .time = "18:30", .showIfExpired = true, .message = "Geschenke einpacken"}),
        makeLine({.date = "24.12.2026", .time = "18:31", .executed = true, .deleteAfter = true,
                  .message = "Grüße, Café; \\ \xE4\xF6\xFC\xDF \x80", .sound = ""}),
        makeLine({.date = "05.01.2027", .time = "07:45", .repeat = R::Daily, .message = "Zeitung holen",
                  .sound = "gong.wav"}),
        makeLine({.date = "01.03.2027", .time = "", .repeat = R::Weekly, .active = false, .message = "",
                  .application = "C:\\Tools\\backup.bat"}),
        // In the hour that the change to summer time leaves out.
        makeLine({.date = "28.03.2027", .time = "02:30", .message = "Uhr umstellen"}),
        makeLine({.date = "31.03.2027", .time = "", .repeat = R::Monthly, .message = "   ", .application = "x "}),
        makeLine({.date = "29.02.2028", .time = "00:00", .repeat = R::Yearly, .message = std::string(256, 'a')}),
    };
    const auto clock = berlinClock();
    const ical::Export out = ical::exportCalendar(lines, clock, kZone);
    ASSERT_EQ(out.written, lines.size());
    const Imported back = import(out.text);
    EXPECT_EQ(joinLines(back.lines), joinLines(lines));
    EXPECT_EQ(back.report, "8 gespeichert, 0 übersprungen.\n");
}

struct Sample {
    const char* name;
    std::string ics;
    std::vector<std::string> expected; // the lines stored, in list order
    const char* reportPart;
};

TEST(ICalendar, FilesOfOtherProgramsImportAsTheirAuthorsMeantThem)
{
    const std::string berlin =
        "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
        "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\n"
        "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
        "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
    const Sample samples[] = {
        // RFC 5545 3.6.1: a UTC time, and one in New York's zone that libical knows.
        {"rfc utc", calendar(event("DTSTAMP:19970901T130000Z\r\nDTSTART:19970903T163000Z\r\nSUMMARY:Annual Employee Review\r\n")),
         {makeLine({.date = "03.09.1997", .time = "17:30", .showIfExpired = true, .message = "Annual Employee Review"})}, "1 gespeichert"},
        {"tzid other zone", calendar(event("DTSTART;TZID=America/New_York:20270115T090000\r\nSUMMARY:Call\r\n")),
         {makeLine({.date = "15.01.2027", .time = "15:00", .showIfExpired = true, .message = "Call"})}, "1 gespeichert"},
        // Google: the zone given and described, weekly on the start's weekday, a reminder
        // half an hour before.
        {"google weekly with alarm",
         calendar("X-WR-TIMEZONE:Europe/Berlin\r\n" + berlin +
                  event("DTSTART;TZID=Europe/Berlin:20261224T183000\r\nDTEND;TZID=Europe/Berlin:20261224T193000\r\n"
                        "RRULE:FREQ=WEEKLY;BYDAY=TH\r\nSUMMARY:Chor\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
                        "DESCRIPTION:x\r\nTRIGGER:-P0DT0H30M0S\r\nEND:VALARM\r\nBEGIN:VALARM\r\nACTION:EMAIL\r\n"
                        "TRIGGER:-PT10M\r\nEND:VALARM\r\n")),
         {makeLine({.date = "24.12.2026", .time = "18:00", .repeat = R::Weekly, .showIfExpired = true, .message = "Chor"})},
         "gespeichert für den 24.12.2026 um 18:00"},
        {"all-day, folded, LF only",
         "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270301\nRRULE:FREQ=YEARLY\nSUMMARY:Geburtstag von \n Gro\xC3\x9F\n \xC3\xBC\x62\x65rall\nEND:VEVENT\nEND:VCALENDAR\n",
         {makeLine({.date = "01.03.2027", .time = "", .repeat = R::Yearly, .showIfExpired = true,
                    .message = "Geburtstag von Gro\xDF\xFC" "berall"})}, "1 gespeichert"},
        {"interval: first occurrence only",
         calendar(event("DTSTART:20270104T080000\r\nRRULE:FREQ=WEEKLY;INTERVAL=2\r\nSUMMARY:Papier\r\n")),
         {makeLine({.date = "04.01.2027", .time = "08:00", .showIfExpired = true, .message = "Papier"})},
         "lässt sich nicht abbilden; gespeichert ist nur der erste Termin"},
        {"byday list", calendar(event("DTSTART:20270104T080000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,TH\r\nSUMMARY:Sport\r\n")),
         {makeLine({.date = "04.01.2027", .time = "08:00", .showIfExpired = true, .message = "Sport"})}, "nicht abbilden"},
        {"count", calendar(event("DTSTART:20270104T080000\r\nRRULE:FREQ=DAILY;COUNT=5\r\nSUMMARY:Kur\r\n")),
         {makeLine({.date = "04.01.2027", .time = "08:00", .showIfExpired = true, .message = "Kur"})}, "nicht abbilden"},
        {"until, cancelled",
         calendar(event("DTSTART:20270104T080000\r\nRRULE:FREQ=MONTHLY;UNTIL=20271231T000000Z\r\nSTATUS:CANCELLED\r\nSUMMARY:Abo\r\n")),
         {makeLine({.date = "04.01.2027", .time = "08:00", .active = false, .showIfExpired = true, .message = "Abo"})},
         "nicht abbilden"},
        {"todo with and without due",
         calendar("BEGIN:VTODO\r\nDUE:20270110T120000\r\nSUMMARY:Steuer\r\nEND:VTODO\r\nBEGIN:VTODO\r\nSUMMARY:Irgendwann\r\nEND:VTODO\r\n"),
         {makeLine({.date = "10.01.2027", .time = "12:00", .showIfExpired = true, .message = "Steuer"})},
         "„Irgendwann“: übersprungen: eine Aufgabe ohne Fälligkeit (DUE)."},
        {"outside windows-1252", calendar(event("DTSTART:20270110T120000\r\nSUMMARY:Schneemann \xE2\x98\x83\r\n")), {},
         "übersprungen: Die Nachricht enthält Zeichen, die es in Windows-1252 nicht gibt."},
        {"neither message nor program", calendar(event("DTSTART:20270110T120000\r\n")), {},
         "übersprungen: Es muß eine Nachricht und / oder eine Anwendung oder Datei angegeben werden!"},
        {"unknown zone", calendar(event("DTSTART;TZID=Mars/Olympus:20270110T120000\r\nSUMMARY:Rover\r\n")),
         {makeLine({.date = "10.01.2027", .time = "12:00", .showIfExpired = true, .message = "Rover"})},
         "die Zeitzone „Mars/Olympus“ ist unbekannt"},
        {"two at the same minute",
         calendar(event("DTSTART:20270110T120000\r\nSUMMARY:Eins\r\n") + event("DTSTART:20270110T120000\r\nSUMMARY:Zwei\r\n")),
         {makeLine({.date = "10.01.2027", .time = "12:00", .showIfExpired = true, .message = "Eins"})},
         "Zeile 9 „Zwei“: übersprungen: am 10.01.2027 um 12:00 steht schon ein Termin"},
    };
    for (const Sample& s : samples) {
        const Imported got = import(s.ics);
        EXPECT_EQ(got.lines, s.expected) << s.name;
        EXPECT_NE(got.report.find(s.reportPart), std::string::npos) << s.name << ":\n" << got.report;
    }
}

TEST(ICalendar, AnAppointmentAtTheSameTimeStaysUnlessReplacing)
{
    const std::string existing = makeLine({.date = "10.01.2027", .time = "12:00", .message = "Alt"});
    const std::string ics = calendar(event("DTSTART:20270110T120000\r\nSUMMARY:Neu\r\n"));
    EXPECT_EQ(import(ics, {existing}).lines, std::vector<std::string>{existing});
    const Imported replaced = import(ics, {existing}, true);
    ASSERT_EQ(replaced.lines.size(), 1u);
    EXPECT_NE(replaced.lines[0].find("Neu"), std::string::npos);
}

TEST(ICalendar, AMalformedFileImportsNothingAndSaysWhere)
{
    const struct {
        std::string ics;
        const char* where;
    } cases[] = {
        {"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20270110T120000\r\n", "bevor VEVENT aus Zeile 2 geschlossen ist"},
        {calendar("BEGIN:VEVENT\r\nDTSTART:20270110T120000\r\nEND:VTODO\r\n"), "Zeile 6: END:VTODO, aber VEVENT aus Zeile 4"},
        {calendar(event("DTSTART:20270110T120000\r\nnur Text ohne Doppelpunkt\r\n")), "Zeile 7: „nur Text"},
        {calendar(event("SUMMARY:a\r\nDTSTART:morgen\r\n")), "Zeile 7: der Wert von DTSTART ist ungültig"},
        {calendar(event("DTSTART:20270110T250000\r\nSUMMARY:a\r\n")), "Zeile 6: DTSTART ist kein gültiges Datum"},
        {"BEGIN:VEVENT\r\nEND:VEVENT\r\n", "Zeile 1: BEGIN:VEVENT außerhalb eines Kalenders"},
        {"", "enthält keinen Kalender"},
        {calendar(event(std::string("SUMMARY:a\0b\r\n", 13))), "Zeile 6: ein Nullbyte"},
    };
    for (const auto& c : cases) {
        const ical::Calendar parsed = ical::parseCalendar(c.ics, berlinClock(), kZone);
        ASSERT_TRUE(parsed.broken) << c.where;
        EXPECT_NE(parsed.broken->find(c.where), std::string::npos) << *parsed.broken;
        EXPECT_TRUE(parsed.events.empty()) << c.where;
    }
}

} // namespace
