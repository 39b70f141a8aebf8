#pragma once
#include <string>
#include <vector>

namespace zw::transfer {

// The appointments as the list page shows them, one per line, in UTF-8 with a header
// line: its columns Datum, Uhrzeit, Wiederholung, Aktiv and Meldung. As text the columns
// are padded to line up; as TSV they are separated by tabs, without padding blanks, for
// scripts (a tab inside a damaged line's message becomes a blank).
std::string listAppointments(const std::vector<std::string>& lines, bool tsv);

} // namespace zw::transfer
