// Feeds arbitrary bytes, taken as the application field of an appointment, to the
// splitter that turns it into a program and its arguments. The tokens must be those of a
// plain state machine written from the documented rules; quoting them again and splitting
// the result must give them back; the field is looked at only up to its first byte 0 and
// its scan limit; the launch command is the first token and the rest.
#include "fuzz_support.h"

#include "scheduler/command_line.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace zw;

bool isBlankOrControl(char c)
{
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

bool separates(char c) { return isBlankOrControl(c) || c == ','; }

// The rules, one byte at a time.
std::vector<std::string> modelSplit(std::string_view field)
{
    enum class State { BeforeFirst, InPlain, InQuoted, QuoteInQuoted, AfterToken, AfterComma } state = State::BeforeFirst;
    std::vector<std::string> tokens;
    std::string token;
    // A byte after a finished token: blanks are skipped, a comma or quote starts the next.
    auto afterToken = [&](char c) {
        if (isBlankOrControl(c)) {
            state = State::AfterToken;
        } else if (c == ',') {
            state = State::AfterComma;
        } else if (c == '"') {
            state = State::InQuoted;
        } else {
            token = c;
            state = State::InPlain;
        }
    };
    const size_t end = std::min(field.size(), kApplicationFieldScanLimit);
    for (size_t i = 0; i < end && field[i] != '\0'; ++i) {
        const char c = field[i];
        switch (state) {
        case State::BeforeFirst:
        case State::AfterComma:
            if (isBlankOrControl(c))
                break;
            if (c == '"') {
                state = State::InQuoted;
            } else if (c == ',') {
                tokens.emplace_back(); // an empty token between two commas
                state = State::AfterComma;
            } else {
                token = c;
                state = State::InPlain;
            }
            break;
        case State::AfterToken:
            afterToken(c);
            break;
        case State::InPlain:
            if (separates(c)) {
                tokens.push_back(token);
                token.clear();
                state = c == ',' ? State::AfterComma : State::AfterToken;
            } else {
                token += c;
            }
            break;
        case State::InQuoted:
            if (c == '"')
                state = State::QuoteInQuoted;
            else
                token += c;
            break;
        case State::QuoteInQuoted:
            if (c == '"') {
                token += '"';
                state = State::InQuoted;
                break;
            }
            tokens.push_back(token);
            token.clear();
            // The byte after the closing quote starts over as after any token.
            afterToken(c);
            break;
        }
    }
    if (state == State::InPlain || state == State::InQuoted || state == State::QuoteInQuoted)
        tokens.push_back(token);
    return tokens;
}

std::string quoted(const std::string& token)
{
    std::string out = "\"";
    for (char c : token) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

void fuzzOne(std::string_view field)
{
    const std::vector<std::string> tokens = splitApplicationField(field);
    FUZZ_CHECK(tokens == modelSplit(field));

    // Only the bytes up to the first 0 and the scan limit count.
    const std::string_view counted = field.substr(0, std::min(field.find('\0'), kApplicationFieldScanLimit));
    if (counted.size() < field.size())
        FUZZ_CHECK(splitApplicationField(counted) == tokens);
    // Nothing after a byte 0 or beyond the limit is looked at.
    FUZZ_CHECK(splitApplicationField(std::string(counted) + std::string(1, '\0') + " x,\"y") == tokens);
    if (field.size() >= kApplicationFieldScanLimit)
        FUZZ_CHECK(splitApplicationField(std::string(field) + "\"z,") == tokens);
    size_t bytes = 0;
    for (const auto& t : tokens) {
        FUZZ_CHECK(t.find('\0') == std::string::npos);
        bytes += t.size();
    }
    FUZZ_CHECK(bytes <= counted.size());

    // Quoted again, blank or comma between, each token comes back as it was.
    std::string blanks, commas;
    for (size_t i = 0; i < tokens.size(); ++i) {
        blanks += (i ? " " : "") + quoted(tokens[i]);
        commas += (i ? " , " : "") + quoted(tokens[i]);
    }
    if (commas.size() <= kApplicationFieldScanLimit) {
        FUZZ_CHECK(splitApplicationField(blanks) == tokens);
        FUZZ_CHECK(splitApplicationField(commas) == tokens);
    }

    const std::optional<LaunchCommand> command = launchCommandFor(field);
    FUZZ_CHECK(command.has_value() == (!tokens.empty() && !tokens.front().empty()));
    if (command) {
        FUZZ_CHECK(command->file == tokens.front());
        FUZZ_CHECK(command->arguments == std::vector<std::string>(tokens.begin() + 1, tokens.end()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zw::fuzz::runOne(fuzzOne, data, size);
}
