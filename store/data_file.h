#pragma once
#include "common/file_io.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// Splits file content into lines: a line ends at CR, at LF or at the pair CR LF; reading
// stops at the first byte 0; a last line without line end counts; empty lines are kept.
std::vector<std::string> splitLines(std::string_view content);

// The same for content that arrives in pieces: the lines of all pieces fed, in order, are
// those splitLines gives for the pieces joined, however they were cut.
class LineSplitter {
public:
    explicit LineSplitter(std::vector<std::string>& lines) : lines_(lines) {}
    // Appends the lines this piece completes. Returns false once a byte 0 was met, at
    // whichever offset of the content (then in unreadableFrom); what follows it is ignored.
    bool feed(std::string_view piece);
    // The last line, when it had no line end.
    void finish();
    std::optional<size_t> unreadableFrom() const { return unreadableFrom_; }

private:
    std::vector<std::string>& lines_;
    std::string partial_;      // the start of a line that the next piece continues
    bool afterCr_ = false;     // the last piece ended in CR: an LF first in this one is its pair
    size_t offset_ = 0;        // bytes fed so far
    std::optional<size_t> unreadableFrom_;
};
// Every line followed by CR LF; no lines give no bytes.
std::string joinLines(const std::vector<std::string>& lines);

// The data file `termine.dat` (or its copy `termine.v22`).
class DataFile {
public:
    explicit DataFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }
    // Throws ZeitwacheError "Kann Datei %s nicht öffnen" when the file cannot be read.
    std::vector<std::string> load() const;

    struct Contents {
        std::vector<std::string> lines;
        // Where the byte 0 lies that reading stopped at; nothing when every byte was read.
        std::optional<size_t> unreadableFrom;
        std::string bytes; // the whole file as it is on disk, when not all was read
        // The file's stamp when its bytes are exactly those save() writes for `lines`.
        std::optional<FileStamp> stamp;
    };
    // load(), telling also what was left unread. Throws as load() does.
    Contents read() const;

    // Keeps a byte-exact copy of `bytes` beside the file, as NAME.beschaedigt or, when that
    // name is taken by other content, NAME.beschaedigt.1, .2, ...; an identical copy already
    // there is used instead of a new one. Returns the copy's path, nothing when no copy could
    // be written.
    std::optional<std::filesystem::path> keepDamagedCopy(std::string_view bytes) const;
    // Replaces the file atomically; throws "Kann Datei %s nicht erstellen" and leaves the
    // old content when that fails.
    void save(const std::vector<std::string>& lines) const;

private:
    std::filesystem::path path_;
};

} // namespace zw
