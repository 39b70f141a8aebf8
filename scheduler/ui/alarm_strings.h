#pragma once
#include "common/civil_time.h"

#include <QString>

#include <optional>
#include <string_view>
#include <vector>

// The alarm path's texts as QStrings for widgets and message boxes.
namespace zw::alarm_strings {

// "Nachricht Nr.7"
QString caption(int messageCounter);
// "Aktuelle Zeit :   Sonntag 06.12.2026  22:34 Uhr"
QString timeLine(const LocalDateTime& now);
// The status line for a Windows-1252 status text, cut to its full length.
QString statusLine(std::string_view cp1252StatusText);
// "Status           :   Wiederholung (Snooze)"
QString snoozeReturnStatusLine();
// The box text for a failed start of the (Windows-1252) application field; none for a
// result above 32.
std::optional<QString> launchFailure(std::string_view cp1252ApplicationField, int result);

struct SnoozeEntry {
    QString caption;
    int minutes = 0;
};
// The snooze menu in its order.
std::vector<SnoozeEntry> snoozeEntries();

} // namespace zw::alarm_strings
