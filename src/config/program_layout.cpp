#include "config/program_layout.h"

#include "config/registry.h"
#include "config/settings.h"
#include "platform/environment.h"
#include "platform/filesystem.h"

#include <filesystem>

namespace kx::config {
namespace {

constexpr const char* kProgramName = "korvendal-xl";

// A base folder of the XDG layout: the variable when it holds an absolute path, else the folder under home.
std::string userBaseFolder(const std::optional<std::string>& variable, const std::string& home, const char* underHome)
{
    return variable && variable->starts_with('/') ? *variable : platform::joinPath(home, underHome);
}

std::string installedDataFolderBeside(const std::string& programFolder)
{
    const auto folder = (std::filesystem::path(programFolder) / KX_DATA_FOLDER_FROM_PROGRAM).lexically_normal();
    return platform::ordinaryFileExists((folder / "help" / "KorvendalExcel.html").string()) ? folder.string() : "";
}

}  // namespace

ProgramLayout chooseProgramLayout(const LayoutFacts& facts)
{
    if (facts.programFolderWritable && facts.installedDataFolder.empty())
        return {true, facts.programFolder, facts.programFolder, facts.programFolder,
                platform::joinPath(facts.programFolder, "temp")};
    ProgramLayout layout;
    layout.portable = false;
    layout.settingsFolder = platform::joinPath(userBaseFolder(facts.configHome, facts.home, ".config"), kProgramName);
    layout.standInFolder = facts.home;
    layout.filesFolder = facts.installedDataFolder.empty() ? facts.programFolder : facts.installedDataFolder;
    layout.workspaceFolder = platform::joinPath(userBaseFolder(facts.cacheHome, facts.home, ".cache"), kProgramName);
    return layout;
}

LayoutFacts currentLayoutFacts()
{
    LayoutFacts facts;
    facts.programFolder = platform::programFolder();
    facts.programFolderWritable = platform::folderWritable(facts.programFolder);
    facts.installedDataFolder = installedDataFolderBeside(facts.programFolder);
    facts.home = platform::homeFolder();
    facts.configHome = platform::environmentVariable("XDG_CONFIG_HOME");
    facts.cacheHome = platform::environmentVariable("XDG_CACHE_HOME");
    return facts;
}

void provideUserSettingsFile(const ProgramLayout& layout)
{
    const std::string userFile = platform::joinPath(layout.settingsFolder, kSettingsFileName);
    const std::string machineFile = platform::joinPath(
        std::filesystem::path(machineStorePath()).parent_path().string(), kSettingsFileName);
    if (layout.portable || platform::ordinaryFileExists(userFile) || !platform::ordinaryFileExists(machineFile))
        return;
    if (platform::ensureFolder(layout.settingsFolder))
        platform::copyFileOver(machineFile, userFile);
}

}  // namespace kx::config
