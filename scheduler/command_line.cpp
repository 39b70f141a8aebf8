#include "scheduler/command_line.h"

#include <utility>

namespace zw {

namespace {

bool isBlankOrControl(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// Reads a token that begins with a double quote at pos; pos ends after the closing quote
// or at the end of the text.
std::string readQuoted(std::string_view text, size_t& pos)
{
    std::string token;
    ++pos; // opening quote
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c != '"') {
            token += c;
        } else if (pos < text.size() && text[pos] == '"') {
            token += '"';
            ++pos;
        } else {
            break;
        }
    }
    return token;
}

} // namespace

std::vector<std::string> splitApplicationField(std::string_view field)
{
    std::string_view text = field.substr(0, kApplicationFieldScanLimit);
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);

    std::vector<std::string> tokens;
    size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < text.size() && isBlankOrControl(text[pos]))
            ++pos;
    };

    skipBlanks();
    while (pos < text.size()) {
        if (text[pos] == '"') {
            tokens.push_back(readQuoted(text, pos));
        } else {
            const size_t start = pos;
            while (pos < text.size() && !isBlankOrControl(text[pos]) && text[pos] != ',')
                ++pos;
            tokens.emplace_back(text.substr(start, pos - start));
        }
        skipBlanks();
        if (pos < text.size() && text[pos] == ',') {
            ++pos;
            skipBlanks();
        }
    }
    return tokens;
}

std::optional<LaunchCommand> launchCommandFromTokens(std::vector<std::string> tokens)
{
    if (tokens.empty() || tokens.front().empty())
        return std::nullopt;
    LaunchCommand command;
    command.file = std::move(tokens.front());
    command.arguments.assign(std::make_move_iterator(tokens.begin() + 1),
                             std::make_move_iterator(tokens.end()));
    return command;
}

} // namespace zw
