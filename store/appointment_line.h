#pragma once
#include "common/civil_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One appointment as one line of Windows-1252 text whose fields stand at fixed byte
// positions. Every reader finds a field by its position; positions below count from 1.
namespace zw::line {

enum class RepeatKind { None, Hourly, Daily, Weekly, Monthly, Yearly };

// The 11-byte words as stored (Windows-1252, blanks included).
inline constexpr std::string_view kRepeatNone = "Keine      ";
inline constexpr std::string_view kRepeatHourly = "St\xFCndlich  ";
inline constexpr std::string_view kRepeatDaily = "T\xE4glich    ";
inline constexpr std::string_view kRepeatWeekly = "W\xF6" "chentlich";
inline constexpr std::string_view kRepeatMonthly = "Monatlich  ";
inline constexpr std::string_view kRepeatYearly = "J\xE4hrlich   ";

inline constexpr std::string_view kActive = "Ja  ";
inline constexpr std::string_view kInactive = "Nein";
inline constexpr size_t kMaxTextLength = 999;

// Flag numbers: the flag k stands at position 41 + k.
inline constexpr int kShowIfExpired = 1;
inline constexpr int kExecuted = 2;
inline constexpr int kDeleteAfterExecution = 3;

std::string_view repeatWord(RepeatKind kind);
// Whole 11-byte comparison; anything else is no kind.
std::optional<RepeatKind> repeatKindOf(std::string_view word);

// The values the editor stores.
struct Appointment {
    Date date;
    std::optional<TimeOfDay> time; // none: an appointment without time
    RepeatKind repeat = RepeatKind::None;
    bool active = true;
    bool showIfExpired = true;
    bool deleteAfterExecution = false;
    std::string message;     // Windows-1252
    std::string application; // Windows-1252
    std::string sound;       // Windows-1252 file name or "(Kein)"
};

// Builds the line. A year below 100 is taken in the century of currentYear so that the
// date keeps its four digits; texts longer than 999 bytes or holding CR, LF or byte 0,
// a repeat field of another length, dates outside 1..9999 and times outside the
// day cannot be written in this layout and throw std::invalid_argument.
std::string compose(const Appointment& appointment, int currentYear);
// The same with the repeat field as given instead of `repeat`'s word: an 11-byte word of
// no known kind, written back as it was read.
std::string compose(const Appointment& appointment, int currentYear, std::string_view repeatField);

// The bytes from position pos (1-based), at most len of them; shorter or empty when the
// line ends first.
std::string_view slice(std::string_view line, size_t pos, size_t len);

inline std::string_view dateField(std::string_view l) { return slice(l, 2, 10); }
inline std::string_view timeField(std::string_view l) { return slice(l, 13, 5); }
inline std::string_view repeatField(std::string_view l) { return slice(l, 21, 11); }
inline std::string_view activeField(std::string_view l) { return slice(l, 35, 4); }
inline std::string_view dateTimeField(std::string_view l) { return slice(l, 2, 16); }
// The flag character, or '\0' when the line is too short to hold it.
char flag(std::string_view line, int k);

// Readers that throw ZeitwacheError with the German conversion texts.
Date readDate(std::string_view line, int currentYear);
// Minutes after midnight; five blanks read as 0.
int readTimeMinutes(std::string_view line);
// Minutes since 01.01.1970 00:00 of positions 2 to 17 (no time = midnight).
int64_t readDateTimeValue(std::string_view line, int currentYear);

struct Texts {
    std::string_view message;
    std::string_view application;
    std::string_view sound;
};
// A length as the line stores it at pos: three characters, blanks before the digits
// allowed; none when they are no number.
std::optional<size_t> lengthAt(std::string_view line, size_t pos);

// The three texts as the three lengths delimit them; lengths beyond the end of the line
// give shorter texts.
Texts readTexts(std::string_view line);

// What the due check reads of every line, all at once. For a line in the layout the
// program writes, read in one pass; any other line is read field by field, so the values
// and the errors thrown are those of the readers above.
struct CheckFields {
    Date date;
    int minutes = 0;
    std::string_view repeat;
    bool active = false;
    char showIfExpired = '\0';
    char executed = '\0';
    char deleteAfterExecution = '\0';
    Texts texts;
    // Read from the layout the program writes, whose values need no year.
    bool written = false;
};
CheckFields readCheckFields(std::string_view line, int currentYear);

// Replaces the single flag character in place; a line too short to hold it stays as it is.
void setFlag(std::string& line, int k, char value);

} // namespace zw::line
