#include "manager/appointment_search.h"

#include "store/appointment_line.h"

#include <array>

namespace zw {

namespace {

// A length as the line stores it: three characters, blanks before the digits allowed.
std::optional<std::size_t> lengthAt(std::string_view text, std::size_t pos)
{
    const std::string_view field = line::slice(text, pos, 3);
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    if (i == field.size())
        return std::nullopt;
    std::size_t value = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(field[i] - '0');
    }
    return value;
}

constexpr std::array<unsigned char, 256> makeLowerTable()
{
    std::array<unsigned char, 256> table{};
    for (unsigned c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (unsigned c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<unsigned char>(c + 0x20);
    for (unsigned c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            table[c] = static_cast<unsigned char>(c + 0x20);
    table[0x8A] = 0x9A; // S with caron
    table[0x8C] = 0x9C; // OE
    table[0x8E] = 0x9E; // Z with caron
    table[0x9F] = 0xFF; // Y with diaeresis
    return table;
}
constexpr std::array<unsigned char, 256> kLower = makeLowerTable();

void foldInto(std::string& out, std::string_view text)
{
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(kLower[static_cast<unsigned char>(text[i])]);
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
    const std::optional<std::size_t> l1 = lengthAt(text, 52);
    const std::optional<std::size_t> l2 = lengthAt(text, 56);
    if (!l1 || !l2)
        return {};
    if (object == SearchObject::Message)
        return line::slice(text, 66, *l1);
    if (object == SearchObject::Application)
        return line::slice(text, 67 + *l1, *l2);
    return line::slice(text, 1, 67 + *l1 + *l2);
}

char lowerCp1252(char c)
{
    return static_cast<char>(kLower[static_cast<unsigned char>(c)]);
}

std::string lowerCp1252(std::string_view text)
{
    std::string out;
    foldInto(out, text);
    return out;
}

SearchStep AppointmentSearch::next(const std::vector<std::string>& lines, const SearchRequest& request)
{
    SearchStep step;
    if (request.text.empty())
        return step;
    // Hits accumulate only within one run through the list: the first press of a run
    // starts from a clean list.
    step.clearMarks = position_ == 0 || !request.markAll;

    const std::string needle = request.matchCase ? request.text : lowerCp1252(request.text);
    for (std::size_t k = position_; k < lines.size(); ++k) {
        std::string_view haystack = searchedText(lines[k], request.object);
        if (!request.matchCase) {
            foldInto(folded_, haystack);
            haystack = folded_;
        }
        if (haystack.find(needle) != std::string_view::npos) {
            step.outcome = SearchStep::Outcome::Found;
            step.found = k;
            position_ = k + 1;
            return step;
        }
    }

    step.outcome = SearchStep::Outcome::NotFound;
    // The last hit stays marked, unless its entry has gone since.
    if (position_ != 0 && position_ - 1 < lines.size())
        step.markAgain = position_ - 1;
    position_ = 0;
    return step;
}

} // namespace zw
