#pragma once
#include "common/civil_time.h"
#include "common/launch_result.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The texts of the alarm window and of a failed start of an appointment's application.
// Every result is UTF-8, ready for a widget or a message box. Parameters named cp1252...
// are Windows-1252 bytes as they come from the appointment line.
namespace zw {

// "Nachricht Nr.7": the window's running number, no blank before it.
std::string alarmCaption(int messageCounter);

// "Aktuelle Zeit :   Sonntag 06.12.2026  22:34 Uhr". The weekday is always German, whatever
// the machine's language.
std::string alarmTimeLine(const LocalDateTime& now);

inline constexpr std::string_view kStatusLinePrefix = "Status           :   ";
inline constexpr size_t kStatusLineLength = 61;

// The prefix followed by the status text, cut to 61 characters in all. The status text
// is built from the line's words and is therefore Windows-1252.
std::string alarmStatusLine(std::string_view cp1252StatusText);

// The status line of a window that came back from a snooze.
std::string snoozeReturnStatusLine();

// The message box text for a failed start: the whole application field followed by the
// reason. None for success (a result above 32). A field that names no file at all is
// reported with kLaunchFileNotFound.
std::optional<std::string> launchFailureText(std::string_view cp1252ApplicationField, int result);

struct SnoozeChoice {
    std::string_view caption; // UTF-8 (ASCII)
    int minutes;
};

// The snooze menu in its order. The first caption begins with two blanks, which in the
// menu's font take about the width of the missing digit.
inline constexpr std::array<SnoozeChoice, 7> kSnoozeChoices = {{
    {"  5 Minuten", 5},
    {"10 Minuten", 10},
    {"15 Minuten", 15},
    {"20 Minuten", 20},
    {"30 Minuten", 30},
    {"45 Minuten", 45},
    {"60 Minuten", 60},
}};

} // namespace zw
