#pragma once
#include "common/civil_time.h"
#include "interchange/appointment_input.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Appointments as iCalendar (RFC 5545), read and written by libical.
//
// Each appointment is one VEVENT: DTSTART in local time with the TZID of the system's
// zone (a VTIMEZONE for it in the file), or DTSTART;VALUE=DATE without time; SUMMARY the
// message; RRULE FREQ=HOURLY|DAILY|WEEKLY|MONTHLY|YEARLY for the repetition; an active one
// a VALARM with ACTION:DISPLAY at its start. What only Zeitwache knows goes into
// properties of its own:
//   X-ZEITWACHE-APPLICATION             the program or document (only when there is one)
//   X-ZEITWACHE-SOUND                   the sound name as stored ("(Kein)", a file, empty)
//   X-ZEITWACHE-SHOW-IF-EXPIRED         TRUE or FALSE
//   X-ZEITWACHE-DELETE-AFTER-EXECUTION  TRUE or FALSE
//   X-ZEITWACHE-INACTIVE:TRUE           an appointment switched off: kept, never shown,
//                                       so it has no VALARM either. Not STATUS:CANCELLED:
//                                       other programs hide or strike out cancelled
//                                       events, and this one still stands.
//   X-ZEITWACHE-EXECUTED:TRUE           carried out already
//   X-ZEITWACHE-BLANKS:NAME LEADING TRAILING
//                                       iCalendar readers drop blanks at either end of a
//                                       value (and a value of blanks alone is none): the
//                                       property NAME holds the text without them, this
//                                       one their numbers.
namespace zw::ical {

// The system's zone as an Olson name ("Europe/Berlin"): TZ, else /etc/localtime, else
// /etc/timezone. Empty when none is known to libical; times are then written floating.
std::string systemZoneName();

struct Export {
    std::string text;                 // the whole file, UTF-8, CRLF line ends
    size_t written = 0;
    std::vector<std::string> skipped; // German, one per line that could not be read
};
// The lines in list order. `zone` as systemZoneName() gives it.
Export exportCalendar(const std::vector<std::string>& lines, const Clock& clock, const std::string& zone);

struct Event {
    int line = 0;              // where the component begins in the file
    std::string label;         // its summary (UTF-8), for the report
    std::optional<transfer::AppointmentInput> input;
    bool executed = false;
    std::string skipped;       // why it is not imported, when there is no input
    std::vector<std::string> notes; // what was changed on the way (German)
};
struct Calendar {
    // Where and why the file is malformed (German); nothing is imported then.
    std::optional<std::string> broken;
    std::vector<Event> events;  // every VEVENT and VTODO, in file order
};
// Reads a file's bytes. Times in other zones come to the clock's local time; a time with
// the TZID `localZone` (the clock's own zone, as systemZoneName() gives it) stands as it is
// written, also in the hour that a change to summer time leaves out, which a way through
// UTC would move. A VALARM before the start moves the appointment to its earliest such
// reminder; a repetition that the six kinds cannot express keeps only the first occurrence
// (a note says so).
Calendar parseCalendar(std::string_view bytes, const Clock& clock, const std::string& localZone);

struct ImportReport {
    size_t stored = 0;
    size_t skipped = 0;
    std::string text; // German, one line per note or skip, then the counts
};
// Stores the calendar's events into the list through the editor's checks and store (see
// transfer::storeLines); does not save.
ImportReport importCalendar(AppointmentList& list, const Clock& clock, const Calendar& calendar, bool replace);

} // namespace zw::ical
