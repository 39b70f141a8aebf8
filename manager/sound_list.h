#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// The editor's sound list: "(Kein)" first whatever the file names, then the names of the
// wave files in `folders` (any case of ".wav"), in Windows-1252 and sorted without
// regard to case. A name found in several folders is listed once: the sound played is the
// one in the first folder that has it. A name that Windows-1252 cannot hold is left out:
// the data file could not store it. Folders that cannot be read add nothing.
std::vector<std::string> soundEntriesIn(const std::vector<std::filesystem::path>& folders);

// The entry equal to `name` without regard to case, or -1.
int soundEntryNamed(const std::vector<std::string>& entries, std::string_view name);

} // namespace zw
