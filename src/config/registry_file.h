#pragma once
// The registry export format ("Windows Registry Editor Version 5.00" or "REGEDIT4"), parsed from
// text so that any content can be tested without files. Lines that do not parse are skipped.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::config {

enum class RegistryType { Text, ExpandableText, Number, Other };

struct RegistryEntry {
    RegistryType type = RegistryType::Other;
    // Text and expandable text: the stored characters, terminating NUL included when stored.
    std::string storedText;
    std::uint32_t number = 0;
};

// Keys and value names compare without regard to ASCII case, as in the registry.
// Key paths are full paths: "HKEY_LOCAL_MACHINE\SOFTWARE\GS".
class RegistryFile {
public:
    static RegistryFile parse(std::string_view content);

    const RegistryEntry* find(std::string_view keyPath, std::string_view valueName) const;
    std::vector<std::string> subkeys(std::string_view keyPath) const;

private:
    void setValue(const std::string& keyPath, const std::string& valueName, RegistryEntry entry);

    // Lower-cased key path, then lower-cased value name.
    std::map<std::string, std::map<std::string, RegistryEntry>> values_;
    // Every key named by a section, as written, in the order of the file.
    std::vector<std::string> keyPaths_;
};

// Replaces each %NAME% whose variable `lookup` knows by its value; other text stays as it is.
std::string expandEnvironmentReferences(
    std::string_view text, const std::function<std::optional<std::string>(const std::string&)>& lookup);

// UTF-16 little-endian bytes as UTF-8; unpaired surrogates and a trailing odd byte become U+FFFD.
std::string utf16LittleEndianToUtf8(std::string_view bytes);

}  // namespace kx::config
