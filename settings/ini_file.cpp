#include "settings/ini_file.h"

#include "common/file_io.h"
#include "common/zeitwache_error.h"

#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

namespace zw {

namespace {

constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

struct Line {
    std::string_view text; // without its line end
    std::string_view eol;  // "\r\n", "\n", "\r" or empty for a last line without one
};

// Each line keeps its own line end, so that a file with mixed line ends is written back
// exactly as it was apart from the one changed line.
std::vector<Line> splitLines(std::string_view content)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({content.substr(pos), {}});
            break;
        }
        std::size_t eolLength = (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') ? 2 : 1;
        lines.push_back({content.substr(pos, end - pos), content.substr(end, eolLength)});
        pos = end + eolLength;
    }
    return lines;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed, quotes not yet removed
};

ParsedLine parseLine(std::string_view text)
{
    std::string_view t = trimmed(text);
    if (t.empty() || t.front() == ';')
        return {};
    if (t.front() == '[') {
        std::size_t close = t.find(']');
        if (close == std::string_view::npos)
            return {};
        return {LineKind::Section, trimmed(t.substr(1, close - 1)), {}};
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return {};
    std::string_view name = trimmed(t.substr(0, eq));
    if (name.empty())
        return {};
    return {LineKind::Key, name, trimmed(t.substr(eq + 1))};
}

std::string_view withoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Where a key stands (or would go) in a file.
struct KeyLocation {
    std::optional<std::size_t> section; // line of the first "[section]"
    std::optional<std::size_t> key;     // line of the key in that section
    std::size_t lastKey = 0;            // last key line of that section, or the header
};

KeyLocation locate(const std::vector<Line>& lines, std::string_view section, std::string_view key)
{
    KeyLocation loc;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ParsedLine p = parseLine(lines[i].text);
        if (p.kind == LineKind::Section) {
            if (loc.section)
                break; // only the first section of that name counts
            if (sameName(p.name, section)) {
                loc.section = i;
                loc.lastKey = i;
            }
        } else if (p.kind == LineKind::Key && loc.section) {
            loc.lastKey = i;
            if (!loc.key && sameName(p.name, key))
                loc.key = i;
        }
    }
    return loc;
}

std::string_view skipBom(std::string_view content)
{
    if (content.substr(0, utf8Bom.size()) == utf8Bom)
        content.remove_prefix(utf8Bom.size());
    return content;
}

// Only a regular file (or a link to one) is read: a directory in its place is unreadable,
// not an endless file.
std::optional<std::string> readFile(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    return readWholeFile(path);
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

void checkNames(std::string_view section, std::string_view key, std::string_view value)
{
    if (hasLineBreak(section) || section.find(']') != std::string_view::npos || trimmed(section).empty())
        throw std::invalid_argument("invalid section name for an initialisation file");
    std::string_view k = trimmed(key);
    if (hasLineBreak(key) || key.find('=') != std::string_view::npos || k.empty() || k.front() == ';' || k.front() == '[')
        throw std::invalid_argument("invalid key name for an initialisation file");
    if (hasLineBreak(value))
        throw std::invalid_argument("a value in an initialisation file cannot hold a line break");
}

std::string fullPathText(const std::filesystem::path& path)
{
    std::error_code ec;
    auto full = std::filesystem::absolute(path, ec);
    return (ec ? path : full.lexically_normal()).string();
}

} // namespace

std::optional<std::int32_t> parseIniInteger(std::string_view text)
{
    std::string rewritten;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        rewritten = "$";
        rewritten.append(text.substr(2));
        text = rewritten;
    }
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i == text.size())
        return std::nullopt;

    if (text[i] == '$') {
        ++i;
        if (i == text.size())
            return std::nullopt;
        std::uint64_t value = 0;
        for (; i < text.size(); ++i) {
            char c = text[i];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return std::nullopt;
            value = value * 16 + static_cast<std::uint64_t>(digit);
            if (value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }

    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

IniFile::IniFile(std::filesystem::path path)
    : path_(std::move(path))
{
}

std::optional<std::string> IniFile::lookup(std::string_view section, std::string_view key) const
{
    // Blanks around the names are ignored as the file's own are, so a name reads back
    // what writeText, which trims it, wrote.
    section = trimmed(section);
    key = trimmed(key);
    auto content = readFile(path_);
    if (!content)
        return std::nullopt;
    auto lines = splitLines(skipBom(*content));
    KeyLocation loc = locate(lines, section, key);
    if (!loc.key)
        return std::nullopt;
    return std::string(withoutQuotes(parseLine(lines[*loc.key].text).value));
}

std::string IniFile::readText(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    auto value = lookup(section, key);
    std::string result = value ? std::move(*value) : std::string(defaultValue);
    if (result.size() > maxTextLength)
        result.resize(maxTextLength);
    return result;
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const
{
    return parseIniInteger(readText(section, key, {})).value_or(defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeText(std::string_view section, std::string_view key, std::string_view value) const
{
    checkNames(section, key, value);
    section = trimmed(section);
    key = trimmed(key);

    auto existing = readFile(path_);
    if (!existing) {
        // A file that is there but cannot be read must not be replaced by one holding
        // only this key.
        std::error_code ec;
        if (std::filesystem::exists(path_, ec) || ec)
            throw errors::cannotWriteTo(fullPathText(path_));
    }
    std::string_view content = existing ? std::string_view(*existing) : std::string_view();
    std::string_view bom = content.substr(0, content.size() - skipBom(content).size());
    std::vector<Line> lines = splitLines(content.substr(bom.size()));

    std::string_view newline = "\r\n";
    for (const Line& line : lines) {
        if (!line.eol.empty()) {
            newline = line.eol;
            break;
        }
    }

    KeyLocation loc = locate(lines, section, key);
    std::string changedLine;
    std::vector<std::string> added; // lines inserted after `insertAfter`, or appended
    std::optional<std::size_t> insertAfter;
    if (loc.key) {
        // Keep the line's own spelling of the key and its spacing around "=".
        std::string_view text = lines[*loc.key].text;
        std::size_t valueStart = text.find('=') + 1;
        while (valueStart < text.size() && isBlank(text[valueStart]))
            ++valueStart;
        changedLine = std::string(text.substr(0, valueStart)) + std::string(value);
        lines[*loc.key].text = changedLine;
    } else {
        std::string keyLine = std::string(key) + "=" + std::string(value);
        if (loc.section) {
            insertAfter = loc.lastKey;
        } else {
            if (!lines.empty() && !trimmed(lines.back().text).empty())
                added.emplace_back();
            // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) of "[" + string.
            std::string header(1, '[');
            header.append(section).append(1, ']');
            added.push_back(std::move(header));
        }
        added.push_back(std::move(keyLine));
    }

    std::string out(bom);
    // `next`: the line that follows the added ones, if any.
    auto appendAdded = [&](const Line* next) {
        for (std::size_t k = 0; k < added.size(); ++k) {
            // A CR before an empty added line ending in LF, or an added line ending in CR
            // before an empty line ending in LF, would read back as one CR LF and lose a
            // line: such an added line ends in CR LF instead.
            const bool joinsBefore = added[k].empty() && newline == "\n" && !out.empty() && out.back() == '\r';
            const bool joinsAfter = k + 1 == added.size() && newline == "\r" && next != nullptr &&
                                    next->text.empty() && next->eol == "\n";
            out += added[k];
            out += joinsBefore || joinsAfter ? std::string_view("\r\n") : newline;
        }
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i].text;
        bool addHere = insertAfter && *insertAfter == i;
        bool lastLine = i + 1 == lines.size();
        // A last line without a line end gets one when something follows it.
        out += lines[i].eol.empty() && (addHere || (lastLine && !insertAfter && !added.empty())) ? newline : lines[i].eol;
        if (addHere)
            appendAdded(lastLine ? nullptr : &lines[i + 1]);
    }
    if (!insertAfter)
        appendAdded(nullptr);

    if (!writeFileAtomically(path_, out))
        throw errors::cannotWriteTo(fullPathText(path_));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int32_t value) const
{
    writeText(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) const
{
    writeText(section, key, value ? "1" : "0");
}

} // namespace zw
