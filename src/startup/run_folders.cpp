#include "startup/run_folders.h"

#include "config/settings.h"
#include "platform/filesystem.h"

#include <filesystem>

namespace kx::startup {
namespace {

// An installed copy's own workspace: under the layout's folder, else in the temporary folder.
std::optional<platform::HeldFolder> takeWorkspace(const config::ProgramLayout& layout)
{
    if (layout.portable)
        return std::nullopt;
    platform::ensureFolder(std::filesystem::path(layout.workspaceFolder).parent_path().string());
    if (auto held = platform::HeldFolder::takeIn(layout.workspaceFolder))
        return held;
    return platform::HeldFolder::take("korvendal-xl");
}

}  // namespace

RunFolders::RunFolders(const config::ProgramLayout& layout)
    : layout_(layout), held_(takeWorkspace(layout)), workspace_(held_ ? held_->path() : layout.workspaceFolder)
{
    config::setSettingsFolder(layout.settingsFolder, layout.standInFolder);
    config::provideUserSettingsFile(layout);
}

}  // namespace kx::startup
