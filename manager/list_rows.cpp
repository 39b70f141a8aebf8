#include "manager/list_rows.h"

#include "common/zeitwache_error.h"
#include "store/appointment_line.h"

namespace zw {

std::string listRowText(std::string_view l)
{
    std::string message;
    try {
        message = std::string(line::readTexts(l).message);
    } catch (const ZeitwacheError&) {
        // Drawing must not fail on a damaged line; the store reports it.
    }
    std::string row;
    row.reserve(36 + message.size());
    row += ' ';
    row += line::dateField(l);
    row += '|';
    row += line::timeField(l);
    row += '|';
    row += line::repeatField(l);
    row += '|';
    row += line::activeField(l);
    row += '|';
    row += message;
    row += '|';
    return row;
}

ListCommandStates listCommandStates(std::size_t marked, std::size_t entries)
{
    ListCommandStates states;
    states.remove = entries != 0 && marked != 0;
    states.edit = states.properties = marked == 1;
    return states;
}

} // namespace zw
