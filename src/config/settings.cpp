#include "config/settings.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "config/ini_file.h"
#include "errors/failure.h"
#include "platform/filesystem.h"
#include "platform/ui.h"

namespace kx::config {
namespace {

std::string settingsFolderOverride;
std::string standInFolderOverride;

constexpr const char* kCheckSettingsLabel = "ModMain : OpenDatabase";

void showSettingsFileMissing()
{
    platform::Message message;
    message.text = "Initialization file is missing.";
    message.title = platform::kApplicationTitle;
    message.icon = platform::MessageIcon::Critical;
    message.buttons = platform::MessageButtons::Ok;
    platform::ui().showMessage(message);
}

// The stored path when something visible still stands there, else the settings folder.
std::string rememberedPath(const char* key)
{
    if (ReadIniValue(kSettingsSection, key) && platform::visibleEntryExists(strIniValue))
        return strIniValue;
    return standInFolder();
}

}  // namespace

std::string settingsFolder()
{
    return settingsFolderOverride.empty() ? platform::programFolder() : settingsFolderOverride;
}

std::string standInFolder() { return standInFolderOverride.empty() ? settingsFolder() : standInFolderOverride; }

void setSettingsFolder(const std::string& folder, const std::string& standIn)
{
    settingsFolderOverride = folder;
    standInFolderOverride = standIn;
}

bool CheckSettingsFile()
{
    try {
        strIniPath = platform::joinPath(settingsFolder(), kSettingsFileName);
    } catch (...) {
        if (!errors::reportCurrentFailure(kCheckSettingsLabel))
            return false;
    }
    bool present = false;
    try {
        present = platform::ordinaryFileExists(strIniPath);
    } catch (...) {
        if (!errors::reportCurrentFailure(kCheckSettingsLabel))
            return false;
    }
    if (present)
        return true;
    try {
        showSettingsFileMissing();
    } catch (...) {
        errors::reportCurrentFailure(kCheckSettingsLabel);
    }
    return false;
}

bool ReadIniValue(const std::string& section, const std::string& key)
{
    strIniValue.clear();
    try {
        if (strIniPath.empty())
            return false;
        std::optional<std::string> value = readIniFileValue(strIniPath, section, key);
        if (!value || value->empty())
            return false;
        strIniValue = std::move(*value);
        return true;
    } catch (...) {
        return false;
    }
}

bool WriteIniValue(const std::string& section, const std::string& key, const std::string& value)
{
    return !strIniPath.empty() && writeIniFileValue(strIniPath, section, key, value);
}

void LoadSettings()
{
    RecentFolder = rememberedPath(kRecentFolderKey);
    RecentOutputFolder = rememberedPath(kRecentOutputFolderKey);
    std::optional<std::int16_t> launch;
    if (ReadIniValue(kSettingsSection, kLaunchKey))
        launch = wholeNumber16(strIniValue);
    Launch = launch.value_or(1);
    PageRange = "1";
}

std::optional<std::int16_t> wholeNumber16(std::string_view text)
{
    if (text.starts_with('+') && !text.starts_with("+-"))
        text.remove_prefix(1);
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number,
                                              std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(number))
        return std::nullopt;
    const double rounded = std::nearbyint(number);  // the default rounding mode: halves to even
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace kx::config
