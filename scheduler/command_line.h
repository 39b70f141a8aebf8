#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The application field of an appointment names a program or document and, after it,
// its parameters, written as a comma- or blank-separated list. All texts here are the
// Windows-1252 bytes of the stored line; the platform layer converts them when it starts
// the program.
namespace zw {

// Only this many bytes of the field are looked at.
inline constexpr size_t kApplicationFieldScanLimit = 4095;

// Splits the field into tokens:
// - bytes 1..32 (blank and control characters) and the comma separate tokens;
// - leading bytes 1..32 are skipped; a field made only of them has no token;
// - a token beginning with '"' runs to the next single '"'; "" inside stands for one '"';
//   the enclosing quotes are dropped; without a closing quote it takes the rest;
// - any other token runs up to the next byte 1..32 or comma;
// - after a token, bytes 1..32 are skipped, then one comma and the bytes 1..32 after it.
//   So "a b", "a,b" and "a , b" give the same two tokens, and "a,,b" gives a, "" and b.
// A NUL byte ends the field: no file name or argument can carry it.
std::vector<std::string> splitApplicationField(std::string_view field);

// What to start: the first token is the program or document, every further token is
// passed as one argument of its own, so a quoted parameter with blanks stays one word.
struct LaunchCommand {
    std::string file;
    std::vector<std::string> arguments;
    bool operator==(const LaunchCommand&) const = default;
};

// None when the tokens name no file: no token at all (a field of blanks and control
// characters) or an empty first token (the field begins with a comma or with ""). The
// caller reports that as a file that was not found rather than asking the desktop to
// open an empty name.
std::optional<LaunchCommand> launchCommandFromTokens(std::vector<std::string> tokens);

inline std::optional<LaunchCommand> launchCommandFor(std::string_view applicationField)
{
    return launchCommandFromTokens(splitApplicationField(applicationField));
}

} // namespace zw
