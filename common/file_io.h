#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zw {

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Replaces the file's content atomically: the bytes go to a temporary file beside it,
// are flushed to disk, and the temporary file is renamed over the old one, so a crash or
// a full disk never leaves a half-written file. Returns false (and leaves the old file
// as it was) when any step fails.
[[nodiscard]] bool writeFileAtomically(const std::filesystem::path& path, std::string_view content);

} // namespace zw
