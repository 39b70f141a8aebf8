#include "interchange/listing.h"

#include "common/cp1252.h"
#include "manager/list_rows.h"

#include <algorithm>
#include <array>

namespace zw::transfer {

namespace {

constexpr size_t kColumns = 5;
using Row = std::array<std::string, kColumns>;

// The row's columns: listRowText ends each by "|" and puts a blank before the date.
Row columnsOf(const std::string& line)
{
    const std::string text = listRowText(line);
    Row row;
    size_t from = 0;
    for (size_t c = 0; c < kColumns; ++c) {
        const size_t bar = c + 1 < kColumns ? text.find('|', from) : std::string::npos;
        row[c] = cp1252ToUtf8(std::string_view(text).substr(from, bar == std::string::npos ? std::string::npos : bar - from));
        if (bar == std::string::npos)
            break;
        from = bar + 1;
    }
    if (!row[kColumns - 1].empty() && row[kColumns - 1].back() == '|')
        row[kColumns - 1].pop_back();
    return row;
}

std::string withoutOuterBlanks(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Characters on the screen, not bytes: UTF-8 continuation bytes take no column.
size_t width(const std::string& s)
{
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

std::string listAppointments(const std::vector<std::string>& lines, bool tsv)
{
    std::vector<Row> rows{{"Datum", "Uhrzeit", "Wiederholung", "Aktiv", "Meldung"}};
    for (const std::string& line : lines) {
        Row row = columnsOf(line);
        for (std::string& cell : row) {
            cell = withoutOuterBlanks(cell);
            if (tsv)
                std::replace(cell.begin(), cell.end(), '\t', ' ');
        }
        rows.push_back(std::move(row));
    }
    std::array<size_t, kColumns> widths{};
    for (const Row& row : rows)
        for (size_t c = 0; c < kColumns; ++c)
            widths[c] = std::max(widths[c], width(row[c]));
    std::string out;
    for (const Row& row : rows) {
        for (size_t c = 0; c < kColumns; ++c) {
            out += row[c];
            if (c + 1 == kColumns)
                break;
            out += tsv ? std::string("\t") : std::string(widths[c] - width(row[c]) + 2, ' ');
        }
        out += '\n';
    }
    return out;
}

} // namespace zw::transfer
