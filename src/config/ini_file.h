#pragma once
// The initialisation-file format of the settings file: "[section]" header lines followed by
// "key=value" lines. Section and key names match without regard to ASCII case; a value loses
// its surrounding blanks and one pair of surrounding quotes; lines beginning with ";" or "#"
// are comments. Text is taken as bytes (UTF-8 on this platform) and line ends are kept as found.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kx::config {

// A value read back is cut to this many characters, as a 255-character buffer would cut it.
inline constexpr std::size_t kMaxIniValueLength = 254;

// The value of the first `key` in a section named `section`, or nothing when there is none.
std::optional<std::string> findIniValue(std::string_view text, std::string_view section, std::string_view key);

// True when the three can be written without breaking the file's layout: no line break or NUL
// anywhere, a non-empty key without "=" that does not begin like a section or a comment, a section
// name without "]", none with surrounding blanks.
bool isWritableIniEntry(std::string_view section, std::string_view key, std::string_view value);

// `text` with `key` set to `value`: the key's line is replaced where the key exists, else the
// key is added after the last entry of the section, else the section is added at the end.
// Every other line stays byte for byte as it was. The entry must be writable (see above).
std::string withIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

// The value from the file at `path`; nothing when the file cannot be read or has no such key.
std::optional<std::string> readIniFileValue(const std::string& path, std::string_view section, std::string_view key);

// Writes the value into the file at `path`, creating the file when absent. The new content goes
// to a new file that then replaces the old one, so a failure part-way leaves the old file whole.
// False when the entry is not writable, the old file cannot be read, or the new one cannot be put in place.
bool writeIniFileValue(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value);

}  // namespace kx::config
