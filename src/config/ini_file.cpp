#include "config/ini_file.h"

#include <filesystem>
#include <vector>

#include "platform/file_replace.h"
#include "platform/filesystem.h"

namespace kx::config {
namespace {

// A settings file is a few lines; anything far larger is not one and is left alone.
constexpr std::size_t kLargestIniFile = 16 * 1024 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

enum class LineKind { Other, Section, Entry };

// One line of the file: `whole` keeps its line end, the rest are views into it.
struct IniLine {
    std::string_view whole;
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name or key
    std::string_view value;  // entries only, trimmed
};

IniLine parseLine(std::string_view whole)
{
    IniLine line{whole};
    std::string_view content = whole;
    while (!content.empty() && (content.back() == '\n' || content.back() == '\r'))
        content.remove_suffix(1);
    content = trimmed(content);
    if (content.empty() || content.front() == ';' || content.front() == '#')
        return line;
    if (content.front() == '[') {
        content.remove_prefix(1);
        line.kind = LineKind::Section;
        line.name = trimmed(content.substr(0, content.find(']')));
        return line;
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return line;
    line.kind = LineKind::Entry;
    line.name = trimmed(content.substr(0, equals));
    line.value = trimmed(content.substr(equals + 1));
    return line;
}

std::vector<IniLine> splitLines(std::string_view text)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    std::vector<IniLine> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(parseLine(text.substr(0, length)));
        text.remove_prefix(length);
    }
    return lines;
}

std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
        return value.substr(1, value.size() - 2);
    return value;
}

// The first `limit` characters, never splitting a UTF-8 sequence.
std::string_view firstCharacters(std::string_view text, std::size_t limit)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == limit)
            return text.substr(0, i);
    }
    return text;
}

struct Place {
    const IniLine* entry = nullptr;         // the key's own line
    const IniLine* lastOfSection = nullptr;  // the line a new key goes after
};

Place locate(const std::vector<IniLine>& lines, std::string_view section, std::string_view key)
{
    Place place;
    bool inSection = false;
    bool inFirstSection = false;
    for (const IniLine& line : lines) {
        if (line.kind == LineKind::Section) {
            inFirstSection = !place.lastOfSection && sameName(line.name, section);
            inSection = sameName(line.name, section);
            if (inFirstSection)
                place.lastOfSection = &line;
            continue;
        }
        if (line.kind != LineKind::Entry || !inSection)
            continue;
        if (sameName(line.name, key)) {
            place.entry = &line;
            return place;
        }
        if (inFirstSection)
            place.lastOfSection = &line;
    }
    return place;
}

std::string_view lineEndOf(std::string_view text)
{
    const std::size_t end = text.find('\n');
    return end != std::string_view::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
}

bool endsLine(std::string_view text) { return text.empty() || text.back() == '\n'; }

}  // namespace

std::optional<std::string> findIniValue(std::string_view text, std::string_view section, std::string_view key)
{
    const std::vector<IniLine> lines = splitLines(text);
    const Place place = locate(lines, section, key);
    if (!place.entry)
        return std::nullopt;
    return std::string(firstCharacters(unquoted(place.entry->value), kMaxIniValueLength));
}

bool isWritableIniEntry(std::string_view section, std::string_view key, std::string_view value)
{
    const auto breaksLayout = [](std::string_view text) {
        return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    const auto hasSurroundingBlanks = [](std::string_view text) { return trimmed(text) != text; };
    return !breaksLayout(section) && !breaksLayout(key) && !breaksLayout(value)
        && !key.empty() && key.find('=') == std::string_view::npos
        && key.find_first_of("[;#") != 0
        && section.find(']') == std::string_view::npos
        && !hasSurroundingBlanks(section) && !hasSurroundingBlanks(key);
}

std::string withIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value)
{
    const std::string_view lineEnd = lineEndOf(text);
    const std::vector<IniLine> lines = splitLines(text);
    const Place place = locate(lines, section, key);
    const std::string entry = std::string(place.entry ? place.entry->name : key) + "=" + std::string(value);

    std::string result(text.starts_with(kByteOrderMark) ? kByteOrderMark : "");
    for (const IniLine& line : lines) {
        if (&line == place.entry) {
            result += entry;
            result += line.whole.ends_with("\r\n") ? "\r\n" : line.whole.ends_with('\n') ? "\n" : "";
            continue;
        }
        result += line.whole;
        if (&line == place.lastOfSection && !place.entry) {
            if (!endsLine(line.whole))
                result += lineEnd;
            result += entry;
            result += lineEnd;
        }
    }
    if (!place.entry && !place.lastOfSection) {
        if (!endsLine(result))
            result += lineEnd;
        result += "[" + std::string(section) + "]";
        result += lineEnd;
        result += entry;
        result += lineEnd;
    }
    return result;
}

std::optional<std::string> readIniFileValue(const std::string& path, std::string_view section, std::string_view key)
{
    const std::optional<std::string> text = platform::readWholeFile(path, kLargestIniFile);
    if (!text)
        return std::nullopt;
    return findIniValue(*text, section, key);
}

bool writeIniFileValue(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value)
{
    if (!isWritableIniEntry(section, key, value))
        return false;
    std::error_code error;
    std::optional<std::string> text = std::string();
    if (std::filesystem::exists(path, error) || error)
        text = platform::readWholeFile(path, kLargestIniFile);
    if (!text)
        return false;
    return platform::replaceFileContent(path, withIniValue(*text, section, key, value));
}

}  // namespace kx::config
