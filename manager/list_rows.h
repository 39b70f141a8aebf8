#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace zw {

// The list page's row for one stored line (Windows-1252), columns ended by "|": a blank
// (so the date's first digit is no picture code), the date, the time (five blanks for
// none), the repeat word and the activation as stored, the message. The application and
// the sound are never shown. A line too damaged to read its message length shows none.
std::string listRowText(std::string_view line);

// Which of the list page's commands act on the marks (`status`).
struct ListCommandStates {
    bool edit = false;
    bool remove = false;
    bool properties = false;
    bool operator==(const ListCommandStates&) const = default;
};
// For `marked` marked rows among `entries` appointments: Delete for one or more, Edit
// and Properties for exactly one.
ListCommandStates listCommandStates(std::size_t marked, std::size_t entries);

} // namespace zw
