#pragma once
#include "common/civil_time.h"
#include "common/sound_name.h"
#include "manager/appointment_editor.h"
#include "store/appointment_line.h"
#include "store/appointment_list.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// Appointments that arrive from outside the editor page (the command line, an iCalendar
// file) pass the editor's own checks: they are typed into an AppointmentEditor, so that
// nothing gets in that the page would refuse.
namespace zw::transfer {

struct AppointmentInput {
    // The field texts as typed: digits, the year of one to four.
    std::string day, month, year;
    // Hour and minute texts; none: "Ohne Zeitangabe".
    std::optional<std::pair<std::string, std::string>> time;
    line::RepeatKind repeat = line::RepeatKind::None;
    bool active = true;
    bool showIfExpired = true;
    bool deleteAfterExecution = false;
    std::string message;     // Windows-1252
    std::string application; // Windows-1252
    // Windows-1252 sound name as the line keeps it: "(Kein)", a file name, or empty.
    std::string sound{kNoSound};
};

// The line the editor stores for these values, or what it says instead (German, UTF-8).
// A field the page would not even take as typed (a day of 32, letters) is refused with the
// conversion error's text, and "Nach Ausführung löschen" beside a repetition, which the
// page does not offer, with a message of its own.
std::variant<std::string, StoreRefusal> lineFromInput(AppointmentList& list, const Clock& clock,
                                                      const AppointmentInput& input);

// A text from outside (UTF-8) in the form a line holds it, or why it cannot be stored:
// the editor's fields take only characters of Windows-1252, no control characters, and
// at most AppointmentEditor::kTextLimit of them. `field` names the field in the reason.
struct StorableText {
    std::optional<std::string> cp1252;
    std::string problem;
};
StorableText storableText(std::string_view utf8, std::string_view field);

// Stores the lines as new appointments at their places in date order, through the
// editor's store: an equal date and time is replaced only with `replace`, else the line is
// not stored. Returns for each line whether it was. The lines go in latest first, so that
// every scan of the list stops at once; the list ends as storing them one after the other
// in the given order leaves it. Does not save.
std::vector<bool> storeLines(AppointmentList& list, const std::vector<std::string>& lines, bool replace,
                             int currentYear);

} // namespace zw::transfer
