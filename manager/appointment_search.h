#pragma once
#include "common/cp1252.h"
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// The search window's "Suchobjekt", in the order of its list.
enum class SearchObject { Everything, DateAndTime, Repetition, Message, Application };

// The bytes of the line that a search in `object` looks at:
//   Everything   from the line's start through the application and the blank after it
//                (brackets, flags and lengths included; never the sound name),
//   DateAndTime  positions 2 to 17, Repetition 21 to 31,
//   Message and Application the texts as the lengths delimit them.
// Empty when the lengths the object needs cannot be read: a damaged line matches nothing
// there, and the search goes on past it.
std::string_view searchedText(std::string_view line, SearchObject object);


struct SearchRequest {
    std::string text; // Windows-1252
    SearchObject object = SearchObject::Everything;
    bool matchCase = false;
    bool markAll = false; // "Alle gefundenen Termine markieren": hits accumulate
};

// What one press of "Weitersuchen" asks of the list page, in this order: unmark every
// row when clearMarks; then for Found mark `found` (and show it); for NotFound report
// that nothing was found and then mark `markAgain` when there is one.
struct SearchStep {
    enum class Outcome { Nothing, Found, NotFound };
    Outcome outcome = Outcome::Nothing;
    bool clearMarks = false;
    std::size_t found = 0;
    std::optional<std::size_t> markAgain;
};

// The search window's position in the list between presses: after a hit on entry k the
// next press looks from entry k + 1 on. Changing the text or the options keeps it; a
// press that finds nothing and closing the window start again from the first entry.
class AppointmentSearch {
public:
    // The hit's entry + 1, or 0 when the next press starts with the first entry.
    std::size_t position() const { return position_; }
    void reset() { position_ = 0; }

    // One press over the list as it is now. An empty text does nothing.
    SearchStep next(const std::vector<std::string>& lines, const SearchRequest& request);

private:
    std::size_t position_ = 0;
    std::string folded_; // reused for every line: a press may look at many thousands
};

} // namespace zw
