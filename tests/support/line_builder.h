#pragma once
// Builds appointment lines for tests from short, readable arguments.
#include "store/appointment_line.h"

#include <string>

namespace zw::testing {

struct LineSpec {
    std::string date = "01.01.2027";   // dd.mm.yyyy
    std::string time = "10:00";        // "hh:nn" or "" for none
    line::RepeatKind repeat = line::RepeatKind::None;
    bool active = true;
    bool showIfExpired = false;
    bool executed = false;
    bool deleteAfter = false;
    std::string message = "Nachricht";
    std::string application{};
    std::string sound = "(Kein)";
};

inline std::string makeLine(const LineSpec& s)
{
    line::Appointment a;
    a.date = *parseGermanDate(s.date, 2026);
    if (!s.time.empty())
        a.time = *parseTime(s.time);
    a.repeat = s.repeat;
    a.active = s.active;
    a.showIfExpired = s.showIfExpired;
    a.deleteAfterExecution = s.deleteAfter;
    a.message = s.message;
    a.application = s.application;
    a.sound = s.sound;
    std::string l = line::compose(a, 2026);
    if (s.executed)
        line::setFlag(l, line::kExecuted, '1');
    return l;
}

} // namespace zw::testing
