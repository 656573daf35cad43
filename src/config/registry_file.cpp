#include "config/registry_file.h"

#include <algorithm>
#include <cctype>

namespace kx::config {
namespace {

// Version 5 exports store typed text as UTF-16; REGEDIT4 exports store it as 8-bit text.
enum class Dialect { Unicode, Ansi };

std::string lowerAscii(std::string_view text)
{
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

std::string_view trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && lowerAscii(text.substr(0, prefix.size())) == prefix;
}

std::string normalisedKey(std::string_view keyPath)
{
    keyPath = trim(keyPath);
    while (!keyPath.empty() && keyPath.back() == '\\')
        keyPath.remove_suffix(1);
    return lowerAscii(keyPath);
}

std::optional<int> hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

// One to eight hexadecimal digits, nothing else.
std::optional<std::uint32_t> parseHexNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t number = 0;
    for (char c : digits) {
        const auto digit = hexDigit(c);
        if (!digit)
            return std::nullopt;
        number = number * 16 + static_cast<std::uint32_t>(*digit);
    }
    return number;
}

// "41,00, 42" as bytes; every item must be one or two hexadecimal digits.
std::optional<std::string> parseByteList(std::string_view list)
{
    std::string bytes;
    list = trim(list);
    while (!list.empty()) {
        const auto comma = list.find(',');
        const auto item = trim(list.substr(0, comma));
        const auto value = item.size() <= 2 ? parseHexNumber(item) : std::nullopt;
        if (!value)
            return std::nullopt;
        bytes.push_back(static_cast<char>(*value));
        if (comma == std::string_view::npos)
            break;
        list = list.substr(comma + 1);
        if (trim(list).empty())
            return std::nullopt;
    }
    return bytes;
}

// A double-quoted string at the front of `text` with \\ and \" escapes; `text` is left after
// the closing quote. Nothing when the string is not closed.
std::optional<std::string> readQuoted(std::string_view& text)
{
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string content;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return content;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"'))
            ++i;
        content.push_back(text[i]);
    }
    return std::nullopt;
}

std::optional<RegistryEntry> typedBytesEntry(std::uint32_t type, std::string bytes, Dialect dialect)
{
    constexpr std::uint32_t kText = 1, kExpandableText = 2, kNumber = 4;
    RegistryEntry entry;
    if (type == kText || type == kExpandableText) {
        entry.type = type == kText ? RegistryType::Text : RegistryType::ExpandableText;
        entry.storedText = dialect == Dialect::Unicode ? utf16LittleEndianToUtf8(bytes) : std::move(bytes);
    } else if (type == kNumber && bytes.size() == 4) {
        entry.type = RegistryType::Number;
        for (int i = 3; i >= 0; --i)
            entry.number = (entry.number << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    }
    return entry;
}

// The text after "=": a string, dword:, hex: or hex(type):. Nothing when it does not parse.
std::optional<RegistryEntry> parseData(std::string_view data, Dialect dialect)
{
    if (!data.empty() && data.front() == '"') {
        auto text = readQuoted(data);
        if (!text || !trim(data).empty())
            return std::nullopt;
        text->push_back('\0');
        return RegistryEntry { .type = RegistryType::Text, .storedText = std::move(*text) };
    }
    if (startsWithNoCase(data, "dword:")) {
        const auto number = parseHexNumber(trim(data.substr(6)));
        if (!number)
            return std::nullopt;
        return RegistryEntry { .type = RegistryType::Number, .number = *number };
    }
    if (startsWithNoCase(data, "hex:")) {
        if (!parseByteList(data.substr(4)))
            return std::nullopt;
        return RegistryEntry {};
    }
    if (startsWithNoCase(data, "hex(")) {
        const auto close = data.find("):");
        const auto type = close == std::string_view::npos ? std::nullopt : parseHexNumber(data.substr(4, close - 4));
        auto bytes = type ? parseByteList(data.substr(close + 2)) : std::nullopt;
        if (!bytes)
            return std::nullopt;
        return typedBytesEntry(*type, std::move(*bytes), dialect);
    }
    return std::nullopt;
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(trim(text.substr(0, end)));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string decodeFileText(std::string_view content)
{
    if (content.starts_with("\xFF\xFE"))
        return utf16LittleEndianToUtf8(content.substr(2));
    if (content.starts_with("\xEF\xBB\xBF"))
        content.remove_prefix(3);
    return std::string(content);
}

void appendUtf8(std::string& out, std::uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace

std::string utf16LittleEndianToUtf8(std::string_view bytes)
{
    constexpr std::uint32_t kReplacement = 0xFFFD;
    std::vector<std::uint32_t> units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t unit = units[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, high || low ? kReplacement : unit);
        }
    }
    if (bytes.size() % 2 != 0)
        appendUtf8(out, kReplacement);
    return out;
}

std::string expandEnvironmentReferences(
    std::string_view text, const std::function<std::optional<std::string>(const std::string&)>& lookup)
{
    std::string out;
    while (!text.empty()) {
        const auto open = text.find('%');
        const auto close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out.append(text);
            break;
        }
        out.append(text.substr(0, open));
        const std::string name(text.substr(open + 1, close - open - 1));
        const auto value = name.empty() ? std::nullopt : lookup(name);
        out.append(value ? *value : std::string(text.substr(open, close - open + 1)));
        text.remove_prefix(close + 1);
    }
    return out;
}

RegistryFile RegistryFile::parse(std::string_view content)
{
    const std::string text = decodeFileText(content);
    const auto lines = splitLines(text);
    RegistryFile file;
    Dialect dialect = Dialect::Unicode;
    std::optional<std::string> currentKey;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line == "REGEDIT4")
            dialect = Dialect::Ansi;
        if (line.starts_with('[')) {
            const auto close = line.rfind(']');
            const auto name = close == std::string_view::npos ? std::string_view {} : trim(line.substr(1, close - 1));
            // A "[-key]" section deletes a key on import; here it only means "no values follow".
            currentKey = name.empty() || name.front() == '-' ? std::nullopt : std::optional<std::string>(name);
            if (currentKey)
                file.keyPaths_.push_back(*currentKey);
            continue;
        }
        if (!currentKey || (!line.starts_with('"') && !line.starts_with('@')))
            continue;
        std::string joined(line);
        while (joined.ends_with('\\') && i + 1 < lines.size()) {
            joined.pop_back();
            joined.append(lines[++i]);
        }
        std::string_view rest = joined;
        std::optional<std::string> name;
        if (rest.starts_with('@')) {
            name = "";
            rest.remove_prefix(1);
        } else {
            name = readQuoted(rest);
        }
        rest = trim(rest);
        if (!name || !rest.starts_with('='))
            continue;
        if (auto entry = parseData(trim(rest.substr(1)), dialect))
            file.setValue(*currentKey, *name, std::move(*entry));
    }
    return file;
}

void RegistryFile::setValue(const std::string& keyPath, const std::string& valueName, RegistryEntry entry)
{
    values_[normalisedKey(keyPath)][lowerAscii(valueName)] = std::move(entry);
}

const RegistryEntry* RegistryFile::find(std::string_view keyPath, std::string_view valueName) const
{
    const auto key = values_.find(normalisedKey(keyPath));
    if (key == values_.end())
        return nullptr;
    const auto value = key->second.find(lowerAscii(valueName));
    return value == key->second.end() ? nullptr : &value->second;
}

std::vector<std::string> RegistryFile::subkeys(std::string_view keyPath) const
{
    const std::string prefix = normalisedKey(keyPath) + "\\";
    std::vector<std::string> names;
    std::vector<std::string> seen;
    for (const auto& path : keyPaths_) {
        if (!lowerAscii(path).starts_with(prefix))
            continue;
        const std::string child = path.substr(prefix.size(), path.find('\\', prefix.size()) - prefix.size());
        if (child.empty() || std::find(seen.begin(), seen.end(), lowerAscii(child)) != seen.end())
            continue;
        seen.push_back(lowerAscii(child));
        names.push_back(child);
    }
    return names;
}

}  // namespace kx::config
