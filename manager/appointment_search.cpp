#include "manager/appointment_search.h"

#include "store/appointment_line.h"


namespace zw {

namespace {

void foldInto(std::string& out, std::string_view text)
{
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = lowerCp1252(text[i]);
}

} // namespace

std::string_view searchedText(std::string_view text, SearchObject object)
{
    switch (object) {
    case SearchObject::DateAndTime:
        return line::dateTimeField(text);
    case SearchObject::Repetition:
        return line::repeatField(text);
    case SearchObject::Everything:
    case SearchObject::Message:
    case SearchObject::Application:
        break;
    }
    const std::optional<std::size_t> l1 = line::lengthAt(text, 52);
    const std::optional<std::size_t> l2 = line::lengthAt(text, 56);
    if (!l1 || !l2)
        return {};
    if (object == SearchObject::Message)
        return line::slice(text, 66, *l1);
    if (object == SearchObject::Application)
        return line::slice(text, 67 + *l1, *l2);
    return line::slice(text, 1, 67 + *l1 + *l2);
}

void AppointmentSearch::reset()
{
    running_ = false;
    lastHit_.set(std::nullopt);
}

SearchStep AppointmentSearch::next(const SearchRequest& request)
{
    SearchStep step;
    if (request.text.empty())
        return step;
    // The first press of a run starts from a clean list.
    step.clearMarks = !running_ || !request.markAll;

    const std::vector<std::string>& lines = list_.lines();
    const std::string needle = request.matchCase ? request.text : lowerCp1252(request.text);
    for (std::size_t k = position(); k < lines.size(); ++k) {
        std::string_view haystack = searchedText(lines[k], request.object);
        if (!request.matchCase) {
            foldInto(folded_, haystack);
            haystack = folded_;
        }
        if (haystack.find(needle) != std::string_view::npos) {
            step.outcome = SearchStep::Outcome::Found;
            step.found = k;
            lastHit_.set(k);
            running_ = true;
            return step;
        }
    }

    step.outcome = SearchStep::Outcome::NotFound;
    // The last hit stays marked, unless its entry has gone since.
    if (running_)
        step.markAgain = lastHit_.position();
    reset();
    return step;
}

} // namespace zw
