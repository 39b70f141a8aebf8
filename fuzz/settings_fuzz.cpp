// Feeds arbitrary bytes as Zeitwache.ini to the settings reader and writer. Every read is
// compared with a small model of the documented rules (first section of a name, first key
// in it, names without regard to case, blanks and one pair of quotes around a value
// dropped); the integer rule with one built on std::from_chars. Then a few writes, chosen
// by the last bytes of the input: each must read back as written, leave every other
// key's value as it was and change the file only at the one line concerned (or add the
// lines it needs), every other line keeping its own line end.
#include "fuzz_support.h"

#include "common/file_io.h"
#include "common/zeitwache_error.h"
#include "settings/clock_settings.h"
#include "settings/ini_file.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace zw;
namespace fs = std::filesystem;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kDefault = "\x01 default";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

struct RawLine {
    std::string text;
    std::string end; // "\r\n", "\r", "\n" or nothing
    bool operator==(const RawLine&) const = default;
};

std::vector<RawLine> rawLines(std::string_view content)
{
    std::vector<RawLine> lines;
    size_t start = 0;
    for (size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r' && content[i] != '\n')
            continue;
        const size_t endLength = content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n' ? 2 : 1;
        lines.push_back({std::string(content.substr(start, i - start)), std::string(content.substr(i, endLength))});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < content.size())
        lines.push_back({std::string(content.substr(start)), {}});
    return lines;
}

// One line as the model reads it.
struct Entry {
    enum Kind { Other, Section, Key } kind = Other;
    std::string name;
    std::string value;
};

Entry entryOf(std::string_view text)
{
    const std::string_view t = trim(text);
    if (t.empty() || t.front() == ';')
        return {};
    if (t.front() == '[') {
        const size_t close = t.find(']');
        return close == std::string_view::npos ? Entry{} : Entry{Entry::Section, std::string(trim(t.substr(1, close - 1))), {}};
    }
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos || trim(t.substr(0, eq)).empty())
        return {};
    return {Entry::Key, std::string(trim(t.substr(0, eq))), std::string(trim(t.substr(eq + 1)))};
}

std::string_view withoutBom(std::string_view content)
{
    return content.substr(0, kBom.size()) == kBom ? content.substr(kBom.size()) : content;
}

std::string unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, IniFile::maxTextLength));
}

// The file's lines as the model reads them, read once for all the names looked up.
std::vector<Entry> modelEntries(std::string_view content)
{
    std::vector<Entry> entries;
    for (const RawLine& l : rawLines(withoutBom(content)))
        entries.push_back(entryOf(l.text));
    return entries;
}

std::optional<std::string> modelLookup(const std::vector<Entry>& entries, std::string_view section,
                                       std::string_view key)
{
    bool inSection = false;
    for (const Entry& e : entries) {
        if (e.kind == Entry::Section) {
            if (inSection)
                return std::nullopt; // only the first section of the name counts
            inSection = sameName(e.name, section);
        } else if (e.kind == Entry::Key && inSection && sameName(e.name, key)) {
            return unquoted(e.value);
        }
    }
    return std::nullopt;
}

// The integer rule, built differently: std::from_chars on the digits.
std::optional<int32_t> modelInteger(std::string_view text)
{
    std::string rewritten;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        rewritten = "$" + std::string(text.substr(2));
        text = rewritten;
    }
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    if (text.empty())
        return std::nullopt;
    auto isDigitOf = [](char c, int base) {
        return (c >= '0' && c <= '9') || (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    };
    const int base = text.front() == '$' ? 16 : 10;
    bool negative = false;
    if (base == 16)
        text.remove_prefix(1);
    else if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (!isDigitOf(c, base))
            return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (base == 16)
        return value <= 0xFFFFFFFFu ? std::optional<int32_t>(static_cast<int32_t>(static_cast<uint32_t>(value)))
                                    : std::nullopt;
    if (value > (negative ? 2147483648u : 2147483647u))
        return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
}

struct Name {
    std::string section;
    std::string key;
};

// Names to read: every pair the file holds, the clock's own, and spellings of them that
// must find the same entry (other case, blanks around) or none.
std::vector<Name> namesToRead(std::string_view content)
{
    std::vector<Name> names;
    std::vector<std::string> sections{std::string(ClockSettings::section)};
    std::vector<std::string> keys{std::string(ClockSettings::keyLeft),    std::string(ClockSettings::keyTop),
                                  std::string(ClockSettings::keyVisible), std::string(ClockSettings::keyStatus),
                                  std::string(ClockSettings::keyDisplay), std::string(ClockSettings::keyExtended)};
    for (const RawLine& l : rawLines(withoutBom(content))) {
        const Entry e = entryOf(l.text);
        if (e.kind == Entry::Section && sections.size() < 4)
            sections.push_back(e.name);
        else if (e.kind == Entry::Key && keys.size() < 10)
            keys.push_back(e.name);
    }
    for (const auto& s : sections)
        for (const auto& k : keys)
            names.push_back({s, k});
    auto swapCase = [](std::string s) {
        for (char& c : s)
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                c = static_cast<char>(c ^ 0x20);
        return s;
    };
    const size_t plain = names.size();
    for (size_t i = 0; i < plain && i < 8; ++i) {
        names.push_back({swapCase(names[i].section), " " + swapCase(names[i].key) + "\t"});
        names.push_back({names[i].section + "x", names[i].key});
    }
    return names;
}

// Each read reads and splits the whole file; `limit` keeps the checks after the writes short.
void checkReads(const IniFile& ini, std::string_view content, const std::vector<Name>& names,
                size_t limit = SIZE_MAX)
{
    const std::vector<Entry> entries = modelEntries(content);
    for (size_t i = 0; i < names.size() && i < limit; ++i) {
        const Name& n = names[i];
        const std::string text = ini.readText(n.section, n.key, kDefault);
        const std::optional<std::string> expected = modelLookup(entries, trim(n.section), trim(n.key));
        FUZZ_CHECK(text == expected.value_or(std::string(kDefault)));
        FUZZ_CHECK(text.size() <= IniFile::maxTextLength);
        const std::optional<int32_t> number = modelInteger(expected.value_or(""));
        FUZZ_CHECK(parseIniInteger(expected.value_or("")) == number);
        // Each read reads the file: the numbers of some names are enough.
        if (i % 4 == 0) {
            FUZZ_CHECK(ini.readInteger(n.section, n.key, 12345) == number.value_or(12345));
            FUZZ_CHECK(ini.readBool(n.section, n.key, true) == (number.value_or(1) != 0));
        }
    }
}

bool validNames(std::string_view section, std::string_view key, std::string_view value)
{
    auto hasBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    const std::string_view k = trim(key);
    return !hasBreak(section) && !hasBreak(key) && !hasBreak(value) && section.find(']') == std::string_view::npos &&
           !trim(section).empty() && key.find('=') == std::string_view::npos && !k.empty() && k.front() != ';' &&
           k.front() != '[';
}

// A file's bytes with the line ends and other control characters visible.
std::string shown(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        char buf[8];
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
            out += buf;
        } else
            out += c;
    }
    return out;
}

std::string linesText(const std::vector<RawLine>& lines)
{
    std::string out;
    for (const RawLine& l : lines)
        out += l.text + l.end;
    return out;
}

// The file after writing `key` in `section`: the old lines, one of them changed or one or
// more added; every line that stays keeps its line end, a last line without one gets one
// when lines follow.
void checkFileChange(std::string_view before, std::string_view after, std::string_view section,
                     std::string_view key, std::string_view value)
{
    const bool bom = before.substr(0, kBom.size()) == kBom;
    FUZZ_CHECK((after.substr(0, kBom.size()) == kBom) == bom);
    const std::vector<RawLine> old = rawLines(withoutBom(before));
    const std::vector<RawLine> now = rawLines(withoutBom(after));

    // Where the model finds the section and the key.
    std::optional<size_t> sectionLine, keyLine;
    size_t lastKey = 0;
    for (size_t i = 0; i < old.size(); ++i) {
        const Entry e = entryOf(old[i].text);
        if (e.kind == Entry::Section) {
            if (sectionLine)
                break;
            if (sameName(e.name, trim(section)))
                sectionLine = lastKey = i;
        } else if (e.kind == Entry::Key && sectionLine) {
            lastKey = i;
            if (!keyLine && sameName(e.name, trim(key)))
                keyLine = i;
        }
    }
    std::string newline = "\r\n";
    for (const RawLine& l : old)
        if (!l.end.empty()) {
            newline = l.end;
            break;
        }

    std::vector<RawLine> expected = old;
    if (keyLine) {
        std::string& text = expected[*keyLine].text;
        size_t valueStart = text.find('=') + 1;
        while (valueStart < text.size() && isBlank(text[valueStart]))
            ++valueStart;
        text = text.substr(0, valueStart) + std::string(value);
    } else {
        const RawLine keyLineText{std::string(trim(key)) + "=" + std::string(value), newline};
        size_t at = expected.size();
        std::vector<RawLine> added;
        if (sectionLine) {
            at = lastKey + 1;
        } else {
            if (!old.empty() && !trim(old.back().text).empty())
                added.push_back({"", newline});
            added.push_back({"[" + std::string(trim(section)) + "]", newline});
        }
        added.push_back(keyLineText);
        if (at > 0 && expected[at - 1].end.empty())
            expected[at - 1].end = newline;
        // Where an added line end would join a CR before it or an LF after it into one
        // CR LF, the line ends in CR LF, so that no line is lost.
        if (added.front().text.empty() && newline == "\n" && at > 0 && expected[at - 1].end == "\r")
            added.front().end = "\r\n";
        if (newline == "\r" && at < expected.size() && expected[at].text.empty() && expected[at].end == "\n")
            added.back().end = "\r\n";
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
    }
    if (now != expected) {
        std::fprintf(stderr, "\nbefore:   %s\nafter:    %s\nexpected: %s\n", shown(before).c_str(), shown(after).c_str(),
                     shown(linesText(expected)).c_str());
    }
    FUZZ_CHECK(now == expected);
}

void fuzzOne(std::string_view input)
{
    fuzz::clearScratchDirectory();
    const fs::path path = fuzz::scratchDirectory() / "Zeitwache.ini";
    fuzz::Choices choices(input);
    const IniFile ini(path);
    const ClockSettings clock(path);

    // No file reads as empty; the first write creates it.
    FUZZ_CHECK(ini.readText("Clock", "Status", "x") == "x");
    FUZZ_CHECK(clock.staysOnTop() && clock.display() == "LCD" && !clock.visible());
    FUZZ_CHECK(writeFileAtomically(path, input));

    std::string content(input);
    std::vector<Name> names = namesToRead(content);
    checkReads(ini, content, names);
    FUZZ_CHECK(clock.status() == ini.readText("Clock", "Status", "Top"));
    FUZZ_CHECK(clock.staysOnTop() == (clock.status() == "Top"));
    FUZZ_CHECK(clock.left(-7) == ini.readInteger("Clock", "UhrposX", -7));
    FUZZ_CHECK(clock.top() == ini.readInteger("Clock", "UhrposY", 0));

    const unsigned writes = 1 + choices.byte() % 4;
    for (unsigned w = 0; w < writes; ++w) {
        const unsigned how = choices.byte();
        Name target;
        std::string value;
        if (how % 4 == 0 && !names.empty()) {
            target = names[choices.below(static_cast<unsigned>(names.size()))];
        } else if (how % 4 == 1) {
            target = {"Clock", std::string(choices.byte() % 2 ? ClockSettings::keyDisplay : ClockSettings::keyLeft)};
        } else {
            // Names and a value cut out of the input, line ends and all: invalid ones must
            // be refused without touching the file.
            const size_t at = choices.below(static_cast<unsigned>(input.size() + 1));
            target.section = std::string(input.substr(at, choices.byte() % 12));
            const size_t keyAt = choices.below(static_cast<unsigned>(input.size() + 1));
            target.key = std::string(input.substr(keyAt, choices.byte() % 12));
        }
        const size_t valueAt = choices.below(static_cast<unsigned>(input.size() + 1));
        value = std::string(input.substr(valueAt, choices.byte() % 40));
        if (how & 0x10)
            value.erase(std::min(value.find_first_of("\r\n"), value.size()));

        const std::string before = readWholeFile(path).value_or("");
        const bool valid = validNames(target.section, target.key, value);
        try {
            ini.writeText(target.section, target.key, value);
            FUZZ_CHECK(valid);
        } catch (const std::invalid_argument&) {
            FUZZ_CHECK(!valid);
        }
        const std::string after = readWholeFile(path).value_or("");
        if (!valid) {
            FUZZ_CHECK(after == before);
            continue;
        }
        checkFileChange(before, after, target.section, target.key, value);
        const std::string_view read = trim(value);
        FUZZ_CHECK(ini.readText(target.section, target.key, kDefault) == unquoted(read));
        // Other names read as the model reads the new content; the names of the old
        // content cover keys that were there before.
        checkReads(ini, after, names, 12);
        content = after;
    }

    // The clock's setters read back exactly.
    const unsigned which = choices.byte();
    const auto x = static_cast<int32_t>(choices.byte() << 24 | choices.byte() << 16 | choices.byte() << 8 | choices.byte());
    const int32_t y = -x;
    clock.setPosition(x, y);
    FUZZ_CHECK(clock.left(0) == x && clock.top() == y);
    const bool on = which & 1;
    clock.setVisible(on);
    clock.setStaysOnTop(!on);
    clock.setExtended(which & 2);
    FUZZ_CHECK(clock.visible() == on && clock.staysOnTop() == !on && clock.extended() == bool(which & 2));
    FUZZ_CHECK(clock.status() == (on ? "Back" : "Top"));
    FUZZ_CHECK(clock.left(0) == x && clock.top() == y);
    clock.setDisplay("LEDRot");
    FUZZ_CHECK(clock.display() == "LEDRot");
    const std::string last = readWholeFile(path).value_or("");
    checkReads(ini, last, namesToRead(last), 12);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return zw::fuzz::runOne(fuzzOne, data, size);
}
