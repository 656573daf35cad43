#pragma once
// Where the desktop program keeps its settings file, its workspace and its help page.
//
// A program folder that the user may write to is portable: "SETTINGS.INI", the workspace "temp"
// and "help" lie beside the executable. A program installed in a system folder (one it may not
// write to, or one with the installed data folder beside it) keeps each user's settings in
// $XDG_CONFIG_HOME/korvendal-xl, gives each running copy a workspace of its own under
// $XDG_CACHE_HOME/korvendal-xl, and reads help from the installed data folder.
#include <optional>
#include <string>

namespace kx::config {

// What the choice rests on; currentLayoutFacts() reads it from the running system.
struct LayoutFacts {
    std::string programFolder;
    bool programFolderWritable = false;
    std::string installedDataFolder;  // "" when there is none beside the program folder
    std::string home;  // absolute
    std::optional<std::string> configHome, cacheHome;  // $XDG_CONFIG_HOME, $XDG_CACHE_HOME
};

struct ProgramLayout {
    bool portable = true;
    std::string settingsFolder;   // holds SETTINGS.INI
    std::string standInFolder;    // stands in for a remembered path that no longer exists
    std::string filesFolder;      // holds "help"
    std::string workspaceFolder;  // portable: "temp", which must exist; installed: where each copy takes a folder
};

ProgramLayout chooseProgramLayout(const LayoutFacts& facts);
LayoutFacts currentLayoutFacts();

// For an installed program: gives a user who has no settings file yet a copy of the machine's
// default, "SETTINGS.INI" in the machine store's folder. Without a default nothing is written,
// so that start-up reports the file as missing.
void provideUserSettingsFile(const ProgramLayout& layout);

}  // namespace kx::config
