// Feeds every file of the directories (and every file) named on the command line to the
// fuzz target it is linked with, in name order, as libFuzzer would replay them. The test
// builds run the stored corpora this way, so an input that once found a fault keeps
// guarding against it without clang.
#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool readFile(const std::filesystem::path& path, std::string& content)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg, ec))
                if (entry.is_regular_file(ec))
                    inputs.push_back(entry.path());
            if (ec) {
                std::fprintf(stderr, "cannot list %s: %s\n", arg.c_str(), ec.message().c_str());
                return 2;
            }
        } else {
            inputs.push_back(arg);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    // A corpus that went missing must not pass as one that replays cleanly.
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s DIRECTORY|FILE...  (no input found)\n", argc > 0 ? argv[0] : "replay");
        return 2;
    }
    std::string content;
    for (const auto& path : inputs) {
        if (!readFile(path, content)) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 2;
        }
        // A finding aborts inside the call; name the input first so that it can be found.
        std::fprintf(stderr, "%s\n", path.c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
    }
    std::printf("%zu inputs replayed without a finding\n", inputs.size());
    return 0;
}
