#include "scheduler/alarm_texts.h"

#include "common/cp1252.h"

namespace zw {

namespace {
constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
} // namespace

std::string alarmCaption(int messageCounter)
{
    return "Nachricht Nr." + std::to_string(messageCounter);
}

std::string alarmTimeLine(const LocalDateTime& now)
{
    std::string line = "Aktuelle Zeit :   ";
    line += kWeekdayNames[static_cast<size_t>(weekday(now.date))];
    line += ' ';
    line += formatDate(now.date);
    line += "  ";
    line += formatHourMinute(now.time.hour, now.time.minute);
    line += " Uhr";
    return line;
}

std::string alarmStatusLine(std::string_view cp1252StatusText)
{
    // Cut in Windows-1252, where one byte is one character, so no character is split.
    std::string line(kStatusLinePrefix);
    line += cp1252StatusText.substr(0, kStatusLineLength - kStatusLinePrefix.size());
    return cp1252ToUtf8(line);
}

std::string snoozeReturnStatusLine()
{
    return std::string(kStatusLinePrefix) + "Wiederholung (Snooze)";
}

std::optional<std::string> launchFailureText(std::string_view cp1252ApplicationField, int result)
{
    if (launchSucceeded(result))
        return std::nullopt;
    std::string text = cp1252ToUtf8(cp1252ApplicationField);
    text += " konnte nicht geöffnet werden. Grund: ";
    // Negative results cannot come from the desktop; should one appear it is still a
    // failure and must not pass as success.
    if (result == kLaunchFileNotFound)
        text += "Die Datei wurde nicht gefunden!";
    else if (result == kLaunchNoAssociation)
        text += "Mit der gewählten Datei ist keine Anwendung verknüpft!";
    else
        text += "Unbekannter Fehler!";
    return text;
}

} // namespace zw
