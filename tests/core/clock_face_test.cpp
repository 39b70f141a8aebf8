#include "clock/face.h"

#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

const DisplayStyle& style(std::string_view storedName)
{
    const DisplayStyle* found = findStyleByStoredName(storedName);
    EXPECT_NE(found, nullptr) << storedName;
    return found ? *found : initialDisplayStyle();
}

LocalDateTime at(int hour, int minute, int second, Date date = {2024, 3, 9})
{
    return {date, {hour, minute, second}};
}

using Images = std::array<int, 6>;

TEST(ClockFaceImages, LedRedAtNineOhFiveOhSeven)
{
    const FaceState face = computeFace(at(9, 5, 7), style("LEDRot"), false, 0, 0);
    EXPECT_EQ(face.digitImages, (Images{10, 19, 10, 15, 10, 17}));
    EXPECT_EQ(face.colonImage, 61);
}

TEST(ClockFaceImages, FlipDigitsOneSecondBeforeMidnight)
{
    const FaceState face = computeFace(at(23, 59, 59), style("Klappziffer"), false, 0, 0);
    EXPECT_EQ(face.digitImages, (Images{52, 53, 55, 59, 55, 59}));
    EXPECT_EQ(face.colonImage, 65);
}

TEST(DisplayStyles, TableOfTheSixStyles)
{
    struct Expected {
        const char* menuEntry;
        const char* caption;
        const char* storedName;
        int number;
        int digitBase;
        Rgb panel;
        Rgb label;
    };
    const Expected expected[] = {
        {"LCD0", "LCD -&Display", "LCD", 3, 30, {100, 145, 102}, {0, 0, 0}},
        {"LCD1", "LCD -Display &beleuchtet", "LCDBeleuchtet", 2, 20, {0, 255, 255}, {0, 0, 0}},
        {"LEDGrn1", "LED -Display &Grün", "LEDGruen", 0, 0, {0, 0, 0}, {0, 255, 0}},
        {"LEDRot1", "LED -Display &Rot", "LEDRot", 1, 10, {0, 0, 0}, {255, 0, 0}},
        {"LEDPunktmatrix1", "LED -&Punktmatrix", "LEDMatrix", 4, 40, {0, 0, 0}, {0, 255, 255}},
        {"Klappziffer1", "&Klappziffer -Display", "Klappziffer", 5, 50, {0, 0, 0},
         {255, 255, 255}},
    };
    const auto& styles = displayStyles();
    ASSERT_EQ(styles.size(), std::size(expected));
    for (std::size_t i = 0; i < styles.size(); ++i) {
        const DisplayStyle& s = styles[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(e.storedName);
        EXPECT_EQ(s.menuEntry, e.menuEntry);
        EXPECT_EQ(s.caption, e.caption);
        EXPECT_EQ(s.storedName, e.storedName);
        EXPECT_EQ(s.number, e.number);
        EXPECT_EQ(s.digitBase, e.digitBase);
        EXPECT_EQ(s.panelColour, e.panel);
        EXPECT_EQ(s.labelColour, e.label);

        // The face carries the style's colours on every drawing.
        const FaceState face = computeFace(at(12, 0, 0), s, true, 0, 1);
        EXPECT_EQ(face.panelColour, e.panel);
        EXPECT_EQ(face.labelColour, e.label);
    }
}

TEST(DisplayStyles, LookupByStoredNameIsCaseSensitive)
{
    for (const DisplayStyle& s : displayStyles())
        EXPECT_EQ(findStyleByStoredName(s.storedName), &s);
    EXPECT_EQ(findStyleByStoredName("lcd"), nullptr);
    EXPECT_EQ(findStyleByStoredName("LEDgruen"), nullptr);
    EXPECT_EQ(findStyleByStoredName("Klappziffer "), nullptr);
    EXPECT_EQ(findStyleByStoredName("LEDGrün"), nullptr);
    EXPECT_EQ(findStyleByStoredName(""), nullptr);
    EXPECT_EQ(initialDisplayStyle().storedName, "LEDGruen");
}

TEST(ClockFaceLabels, ExtendedLabelCountsAppointmentsOrSnoozedAlarms)
{
    const DisplayStyle& s = style("LCD");
    EXPECT_EQ(computeFace(at(8, 0, 0), s, true, 0, 3).extendedText, "3 Term.");
    EXPECT_EQ(computeFace(at(8, 0, 0), s, true, 0, 0).extendedText, "0 Term.");
    EXPECT_EQ(computeFace(at(8, 0, 0), s, true, 0, 1234).extendedText, "1234 Term.");
    // Snoozed alarms win over the number of appointments.
    EXPECT_EQ(computeFace(at(8, 0, 0), s, true, 2, 3).extendedText, "Snooze 2");
    EXPECT_EQ(computeFace(at(8, 0, 0), s, true, 1, 0).extendedText, "Snooze 1");
}

TEST(ClockFaceLabels, ExtendedLabelIsLeftAloneWhenTheOptionIsOff)
{
    const DisplayStyle& s = style("LEDGruen");
    EXPECT_FALSE(computeFace(at(8, 0, 0), s, false, 0, 3).extendedText.has_value());
    EXPECT_FALSE(computeFace(at(8, 0, 0), s, false, 2, 3).extendedText.has_value());
}

TEST(ClockFaceLabels, DateIsAlwaysShownWithLeadingZeros)
{
    const DisplayStyle& s = style("LEDGruen");
    EXPECT_EQ(computeFace(at(9, 5, 7, {2024, 3, 9}), s, false, 0, 0).dateText, "09.03.2024");
    EXPECT_EQ(computeFace(at(23, 59, 59, {1999, 12, 31}), s, true, 0, 0).dateText, "31.12.1999");
    EXPECT_EQ(computeFace(at(0, 0, 0, {2024, 2, 29}), s, true, 5, 0).dateText, "29.02.2024");
}

} // namespace
} // namespace zw
