#pragma once
// A directory of the test's own under the system's temporary one, removed with all it
// holds when the test ends.
#include "common/file_io.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace zw::testing {

class DataDir {
public:
    DataDir()
    {
        std::string name = (std::filesystem::temp_directory_path() / "zw-test-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr)
            throw std::filesystem::filesystem_error("mkdtemp", name, std::error_code(errno, std::generic_category()));
        path_ = name;
    }
    ~DataDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    DataDir(const DataDir&) = delete;
    DataDir& operator=(const DataDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    operator const std::filesystem::path&() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

    // The file's content, "<missing>" when it cannot be read.
    std::string read(const std::filesystem::path& name) const
    {
        return readWholeFile(path_ / name).value_or("<missing>");
    }
    [[nodiscard]] bool write(const std::filesystem::path& name, std::string_view content) const
    {
        return writeFileAtomically(path_ / name, content);
    }

private:
    std::filesystem::path path_;
};

} // namespace zw::testing
