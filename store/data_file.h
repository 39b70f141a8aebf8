#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// Splits file content into lines: a line ends at CR, at LF or at the pair CR LF; reading
// stops at the first byte 0; a last line without line end counts; empty lines are kept.
std::vector<std::string> splitLines(std::string_view content);
// Every line followed by CR LF; no lines give no bytes.
std::string joinLines(const std::vector<std::string>& lines);

// The data file `termine.dat` (or its copy `termine.v22`).
class DataFile {
public:
    explicit DataFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    // Throws ZeitwacheError "Kann Datei %s nicht öffnen" when the file cannot be read.
    std::vector<std::string> load() const;
    // Replaces the file atomically; throws "Kann Datei %s nicht erstellen" and leaves the
    // old content when that fails.
    void save(const std::vector<std::string>& lines) const;

private:
    std::filesystem::path path_;
};

} // namespace zw
