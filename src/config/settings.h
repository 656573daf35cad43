#pragma once
// The settings file "SETTINGS.INI" in the program folder and the program-wide values loaded from it.
//
// Section "SETTINGS", all keys optional:
//   PATH        the folder or file last chosen in the source dialog    -> RecentFolder
//   OUTPUTPATH  the folder or file last chosen in the output dialog    -> RecentOutputFolder
//   OPENFILE    whole number; non-zero opens the PDF after conversion  -> Launch (never written)
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kx::config {

inline constexpr const char* kSettingsFileName = "SETTINGS.INI";
inline constexpr const char* kSettingsSection = "SETTINGS";
inline constexpr const char* kRecentFolderKey = "PATH";
inline constexpr const char* kRecentOutputFolderKey = "OUTPUTPATH";
inline constexpr const char* kLaunchKey = "OPENFILE";

// Full path of the settings file, set by CheckSettingsFile.
inline std::string strIniPath;
// The value found by the latest ReadIniValue; "" when that call found nothing.
// Shared scratch: read it right after the call that filled it.
inline std::string strIniValue;

// Program-wide settings, filled by LoadSettings and afterwards changed only by the main window.
inline std::int16_t Launch = 1;  // non-zero: open the PDF after conversion
inline std::string PageRange = "1";
inline std::string RecentFolder;
inline std::string RecentOutputFolder;

// The folder that holds the settings file: the program folder, unless another was set (an
// installed program's user folder, tests, or a converter run for another installation).
std::string settingsFolder();
// The folder that stands in for a remembered path that is gone: the settings folder unless another was set.
std::string standInFolder();
// "" goes back to the program folder; an empty `standIn` follows the settings folder.
void setSettingsFolder(const std::string& folder, const std::string& standIn = "");

// Sets strIniPath; true when an ordinary, visible file is there, else shows
// "Initialization file is missing." and answers false.
bool CheckSettingsFile();

// True when the key has a non-empty value, which is then in strIniValue (at most 254 characters).
bool ReadIniValue(const std::string& section, const std::string& key);

// Writes the key into the settings file, creating file, section or key as needed; true on success.
bool WriteIniValue(const std::string& section, const std::string& key, const std::string& value);

// Fills Launch, PageRange, RecentFolder and RecentOutputFolder; a missing, empty or unusable
// value leaves its start value. Never shows anything and never throws for bad file content.
void LoadSettings();

// The text as a 16-bit whole number: decimal with optional sign and fraction, the fraction rounded
// half to even; nothing when it is not a number or falls outside -32768..32767 after rounding.
std::optional<std::int16_t> wholeNumber16(std::string_view text);

}  // namespace kx::config
