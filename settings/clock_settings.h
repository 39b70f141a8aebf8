#pragma once
#include "settings/ini_file.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zw {

// The clock window's options and position in "Zeitwache.ini", section "Clock". Every
// accessor reads the file anew and every setter writes its one key at once; a failed write
// throws ZeitwacheError "Kann nicht nach <full path> schreiben".
class ClockSettings {
public:
    static constexpr std::string_view fileName = "Zeitwache.ini";
    static constexpr std::string_view section = "Clock";
    static constexpr std::string_view keyLeft = "UhrposX";
    static constexpr std::string_view keyTop = "UhrposY";
    static constexpr std::string_view keyVisible = "Sichtbar";
    static constexpr std::string_view keyStatus = "Status";
    static constexpr std::string_view keyDisplay = "Display";
    static constexpr std::string_view keyExtended = "Extendet";

    static constexpr std::string_view statusTop = "Top";
    static constexpr std::string_view statusBack = "Back";
    static constexpr std::string_view defaultDisplay = "LCD";

    // iniPath is the full path of the file (normally fileName in the program's directory).
    explicit ClockSettings(std::filesystem::path iniPath);

    // The default left edge depends on the screen and the window, so the caller gives it.
    std::int32_t left(std::int32_t defaultLeft) const;
    std::int32_t top() const;
    // Written only when the program shuts down.
    void setPosition(std::int32_t x, std::int32_t y) const;

    bool visible() const;
    void setVisible(bool shown) const;

    // The raw "Status" text; only exactly "Top" (case matters) means stay on top.
    std::string status() const;
    bool staysOnTop() const;
    void setStaysOnTop(bool onTop) const; // writes "Top" or "Back"

    // The stored style name, compared case-sensitively by whoever picks the style.
    std::string display() const;
    void setDisplay(std::string_view styleName) const;

    bool extended() const;
    void setExtended(bool on) const;

    const IniFile& file() const { return file_; }

private:
    IniFile file_;
};

} // namespace zw
