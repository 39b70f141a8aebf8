#pragma once
#include <string>
#include <string_view>

namespace zw {

// What the properties dialog shows of one appointment: the line's own bytes
// (Windows-1252), untranslated, so that the user sees exactly what is stored.
struct AppointmentProperties {
    std::string date;        // "dd.mm.yyyy"
    std::string time;        // "hh:nn"; five blanks for an appointment without time
    std::string repetition;  // the 11-byte word, padding blanks included
    std::string activation;  // "Ja  " or "Nein"
    std::string message;
    std::string application; // program, document or command line
    std::string sound;       // the file name, or "(Kein)" as stored
};

// Throws the conversion error when the line's lengths cannot be read.
AppointmentProperties propertiesOf(std::string_view line);

} // namespace zw
