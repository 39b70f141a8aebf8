#include "scheduler/alarm_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

TEST(AlarmTexts, CaptionCarriesTheNumberWithoutBlank)
{
    EXPECT_EQ(alarmCaption(1), "Nachricht Nr.1");
    EXPECT_EQ(alarmCaption(123), "Nachricht Nr.123");
}

TEST(AlarmTexts, TimeLineWithGermanWeekday)
{
    EXPECT_EQ(alarmTimeLine({{2026, 12, 6}, {22, 34, 59}}),
              "Aktuelle Zeit :   Sonntag 06.12.2026  22:34 Uhr");
    EXPECT_EQ(alarmTimeLine({{2027, 2, 1}, {7, 5, 0}}),
              "Aktuelle Zeit :   Montag 01.02.2027  07:05 Uhr");

    const char* names[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
    for (int i = 0; i < 6; ++i) {
        const std::string line = alarmTimeLine({{2026, 12, 7 + i}, {0, 0, 0}});
        EXPECT_EQ(line.substr(18, line.find(' ', 18) - 18), names[i]) << line;
    }
}

TEST(AlarmTexts, StatusLineIsCutAt61Characters)
{
    EXPECT_EQ(alarmStatusLine("Neue Nachricht"), "Status           :   Neue Nachricht");
    EXPECT_EQ(alarmStatusLine("Wiederholung (St\xFCndlich)"),
              "Status           :   Wiederholung (Stündlich)");

    const std::string forty = "Abgelaufener Termin vom 05.12.2026 10:00"; // 40 characters
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(alarmStatusLine(forty), "Status           :   " + forty);
    EXPECT_EQ(alarmStatusLine(forty + "XYZ"), "Status           :   " + forty);

    // The cut counts characters: the umlaut at the last place survives whole.
    const std::string umlautLast = std::string(39, 'x') + "\xE4" + "zzz";
    EXPECT_EQ(alarmStatusLine(umlautLast), "Status           :   " + std::string(39, 'x') + "ä");
}

TEST(AlarmTexts, LaunchFailureNamesTheWholeFieldAndTheReason)
{
    const std::string field = "C:\\B\xFCro\\Gr\xF6\xDF" "e.xls /r"; // Windows-1252
    const std::string shown = "C:\\Büro\\Größe.xls /r konnte nicht geöffnet werden. Grund: ";

    EXPECT_EQ(launchFailureText(field, kLaunchFileNotFound),
              shown + "Die Datei wurde nicht gefunden!");
    EXPECT_EQ(launchFailureText(field, kLaunchNoAssociation),
              shown + "Mit der gewählten Datei ist keine Anwendung verknüpft!");
    for (int result : {0, 1, 3, 30, 32, -1})
        EXPECT_EQ(launchFailureText(field, result), shown + "Unbekannter Fehler!") << result;
    for (int result : {33, 42})
        EXPECT_EQ(launchFailureText(field, result), std::nullopt) << result;
}

} // namespace
} // namespace zw
