#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zw {

// A Windows-style initialisation file ("[Section]" lines, "key=value" lines, ";" comments)
// that a user may also edit by hand. Nothing is cached: every read reads the file, every
// write replaces it on disk at once (atomically), changing only the one line concerned so
// that other sections, keys, comments and the file's line ends stay as they are.
//
// Reading follows what hand-edited files of this kind expect: section and key names match
// regardless of case, blanks around names and values are ignored, a value enclosed in a
// pair of matching quotes (' or ") loses them. Only the first section of a given name is
// looked at, and in it the first line of a given key. A missing or unreadable file reads
// as empty. Values are raw bytes (the file is single-byte text).
class IniFile {
public:
    // Longest text a read returns; anything beyond is cut off.
    static constexpr std::size_t maxTextLength = 1023;

    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    std::string readText(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // See parseIniInteger; a missing key, an empty value or anything unreadable gives the default.
    std::int32_t readInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    // An integer; any non-zero value is true.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Each write throws ZeitwacheError "Kann nicht nach <full path> schreiben" when the file
    // cannot be written; the file then stays as it was. Names and values with line breaks
    // (or a key with "=", a section with "]") would break the file's structure and are
    // rejected with std::invalid_argument.
    void writeText(std::string_view section, std::string_view key, std::string_view value) const;
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value) const;
    // "1" or "0".
    void writeBool(std::string_view section, std::string_view key, bool value) const;

private:
    std::optional<std::string> lookup(std::string_view section, std::string_view key) const;

    std::filesystem::path path_;
};

// The integer rule of the settings file: a text longer than two characters that begins
// with "0x" or "0X" is read as "$" and the rest; then leading blanks are skipped, and
// either "$" with hexadecimal digits (up to 32 bits, taken as their two's complement
// pattern: "$FFFFFFFF" is -1) or an optional "+"/"-" with decimal digits in the 32-bit
// range must make up the rest. Anything else is no integer.
std::optional<std::int32_t> parseIniInteger(std::string_view text);

} // namespace zw
