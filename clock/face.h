#pragma once
// The clock face as data: the six display styles and what one drawing of the clock shows.
// The widget that puts this on the screen lives in clock/ui.
#include "common/civil_time.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zw {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// The image set: ten digits per style at the style's base, then one colon per style.
inline constexpr int kDigitImageWidth = 16;
inline constexpr int kDigitImageHeight = 27;
inline constexpr int kColonImageBase = 60;
inline constexpr int kDigitImageCount = 66;

struct DisplayStyle {
    std::string_view menuEntry;  // object name of the menu entry, e.g. "LCD0"
    std::string_view caption;    // menu caption with its access mark, UTF-8
    std::string_view storedName; // value of "Display" in the settings file
    int number = 0;              // selects the colon image
    int digitBase = 0;           // image index of the digit 0
    Rgb panelColour;
    Rgb labelColour;             // date and extended label
};

// The six styles in the order of the clock menu.
const std::array<DisplayStyle, 6>& displayStyles();

// The style a stored name stands for; names are compared case-sensitively, so a name
// that differs only in case selects nothing.
const DisplayStyle* findStyleByStoredName(std::string_view storedName);

// The style checked when the clock menu is built, before the settings are applied.
const DisplayStyle& initialDisplayStyle();

// Everything one drawing of the clock shows. Two equal states look the same on screen,
// so the widget repaints only what differs.
struct FaceState {
    std::array<int, 6> digitImages{}; // hours, minutes, seconds, two digits each
    int colonImage = kColonImageBase;
    std::string dateText;             // "dd.mm.yyyy"
    // The extended label's text; empty when the extended display is off, in which case
    // the label is left as it is.
    std::optional<std::string> extendedText;
    Rgb panelColour;
    Rgb labelColour;
    bool operator==(const FaceState&) const = default;
};

// The face for the local time `now` in `style`. With the extended display on, the label
// counts the snoozed alarms while there are any, otherwise the stored appointments.
FaceState computeFace(const LocalDateTime& now, const DisplayStyle& style, bool extendedDisplay,
                      int snoozeCount, std::size_t appointmentCount);

} // namespace zw
