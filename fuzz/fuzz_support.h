#pragma once
// What every fuzz target shares: the check that stops at the first broken invariant, the
// choices taken from the end of an input, a scratch directory for readers that need real
// files, and the entry point that turns an unexpected exception into a finding.
//
// The same sources build two ways: with libFuzzer (scripts/fuzz), and with replay_main.cpp
// as a plain program that feeds the stored corpus to the target in every test build.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace zw::fuzz {

[[noreturn]] inline void broken(const char* condition, const char* file, int lineNumber)
{
    std::fprintf(stderr, "\n*** check failed at %s:%d: %s\n", file, lineNumber, condition);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                                  \
    do {                                                                                                       \
        if (!(condition))                                                                                      \
            ::zw::fuzz::broken(#condition, __FILE__, __LINE__);                                                \
    } while (0)

// Bytes taken from the end of the input; 0 once it is used up. Taking the choices from the
// end leaves the beginning of the input to the content, so a seed stays a readable file.
class Choices {
public:
    explicit Choices(std::string_view input) : input_(input) {}
    unsigned byte()
    {
        if (input_.empty())
            return 0;
        auto b = static_cast<unsigned char>(input_.back());
        input_.remove_suffix(1);
        return b;
    }
    unsigned below(unsigned n)
    {
        const unsigned low = byte();
        const unsigned high = byte();
        return (low | high << 8) % n;
    }

private:
    std::string_view input_;
};

// A directory of this process's own, on the memory file system when there is one; removed
// when the process ends normally.
inline const std::filesystem::path& scratchDirectory()
{
    static const std::filesystem::path dir = [] {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0)
            base = std::filesystem::temp_directory_path();
        std::string name = (base / "zeitwache-fuzz-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        return std::filesystem::path(name);
    }();
    static struct Cleanup {
        ~Cleanup()
        {
            std::error_code ec;
            std::filesystem::remove_all(dir, ec);
        }
    } cleanup;
    return dir;
}

// Empties the scratch directory for the next input.
inline void clearScratchDirectory()
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(scratchDirectory(), ec))
        std::filesystem::remove_all(entry.path(), ec);
}

// Runs one input; any exception that the target did not expect is a finding.
template <typename Target>
int runOne(Target target, const std::uint8_t* data, std::size_t size)
{
    try {
        target(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "\n*** unexpected exception: %s\n", e.what());
        std::abort();
    } catch (...) {
        std::fprintf(stderr, "\n*** unexpected exception of unknown type\n");
        std::abort();
    }
    return 0;
}

} // namespace zw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
