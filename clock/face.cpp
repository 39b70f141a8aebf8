#include "clock/face.h"

namespace zw {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGreyGreen{100, 145, 102};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kLime{0, 255, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

constexpr std::array<DisplayStyle, 6> kStyles{{
    {"LCD0", "LCD -&Display", "LCD", 3, 30, kGreyGreen, kBlack},
    {"LCD1", "LCD -Display &beleuchtet", "LCDBeleuchtet", 2, 20, kCyan, kBlack},
    {"LEDGrn1", "LED -Display &Grün", "LEDGruen", 0, 0, kBlack, kLime},
    {"LEDRot1", "LED -Display &Rot", "LEDRot", 1, 10, kBlack, kRed},
    {"LEDPunktmatrix1", "LED -&Punktmatrix", "LEDMatrix", 4, 40, kBlack, kCyan},
    {"Klappziffer1", "&Klappziffer -Display", "Klappziffer", 5, 50, kBlack, kWhite},
}};

constexpr std::size_t kInitialStyle = 2; // "LED -Display &Grün"

// Two decimal digits of a clock field; the clock hands out valid times, the modulo only
// keeps a stray value from indexing past the style's ten digits.
void putTwoDigits(int value, int base, int* out)
{
    const int v = ((value % 100) + 100) % 100;
    out[0] = base + v / 10;
    out[1] = base + v % 10;
}

} // namespace

const std::array<DisplayStyle, 6>& displayStyles()
{
    return kStyles;
}

const DisplayStyle* findStyleByStoredName(std::string_view storedName)
{
    for (const DisplayStyle& style : kStyles) {
        if (style.storedName == storedName)
            return &style;
    }
    return nullptr;
}

const DisplayStyle& initialDisplayStyle()
{
    return kStyles[kInitialStyle];
}

FaceState computeFace(const LocalDateTime& now, const DisplayStyle& style, bool extendedDisplay,
                      int snoozeCount, std::size_t appointmentCount)
{
    FaceState face;
    putTwoDigits(now.time.hour, style.digitBase, &face.digitImages[0]);
    putTwoDigits(now.time.minute, style.digitBase, &face.digitImages[2]);
    putTwoDigits(now.time.second, style.digitBase, &face.digitImages[4]);
    face.colonImage = kColonImageBase + style.number;
    face.dateText = formatDate(now.date);
    if (extendedDisplay) {
        face.extendedText = snoozeCount > 0 ? "Snooze " + std::to_string(snoozeCount)
                                            : std::to_string(appointmentCount) + " Term.";
    }
    face.panelColour = style.panelColour;
    face.labelColour = style.labelColour;
    return face;
}

} // namespace zw
