#pragma once
#include "common/cp1252.h"
#include "store/appointment_list.h"

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

// The search window's position in the list between presses: after a hit the next press
// looks at the entries after it. The hit is followed while the list changes between two
// presses (the minute's check, a deletion, a store): lines removed or stored before it
// make the next press neither skip nor repeat one, and a hit that went itself leaves the
// search going on where it stood. Changing the text or the options keeps the position; a
// press that finds nothing and closing the window start again from the first entry.
class AppointmentSearch {
public:
    explicit AppointmentSearch(const AppointmentList& list) : list_(list), lastHit_(list) {}

    // The entry the next press looks at first.
    std::size_t position() const { return running_ ? lastHit_.following() : 0; }
    void reset();

    // One press over the list as it is now. An empty text does nothing.
    SearchStep next(const SearchRequest& request);

private:
    const AppointmentList& list_;
    AppointmentList::TrackedEntry lastHit_;
    // A hit since the last start from the top: hits accumulate only within such a run.
    bool running_ = false;
    std::string folded_; // reused for every line: a press may look at many thousands
};

} // namespace zw
