// The folders a run of the desktop program uses: an installed program's copies each hold a
// workspace of their own in the user's cache, and the settings store follows the layout.
#include "startup/run_folders.h"

#include "config/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "../support/temp_folder.h"

namespace kx::startup {
namespace {

class RunFoldersTest : public ::testing::Test {
protected:
    ~RunFoldersTest() override { config::setSettingsFolder(""); }

    config::ProgramLayout installed() const
    {
        return config::chooseProgramLayout({"/usr/bin", false, "/usr/share/korvendal-xl", home.path(), std::nullopt,
                                            home.file("cache")});
    }

    testing::TempFolder home;
};

TEST_F(RunFoldersTest, InstalledCopiesRunningAtOnceNeverShareAWorkspace)
{
    const RunFolders first(installed());
    const RunFolders second(installed());
    const std::string base = home.file("cache/korvendal-xl/");
    EXPECT_TRUE(first.workspace().starts_with(base)) << first.workspace();
    EXPECT_TRUE(second.workspace().starts_with(base)) << second.workspace();
    EXPECT_NE(first.workspace(), second.workspace());
    EXPECT_TRUE(std::filesystem::is_directory(first.workspace()));
    EXPECT_EQ(first.filesFolder(), "/usr/share/korvendal-xl");
    EXPECT_EQ(config::settingsFolder(), home.file(".config/korvendal-xl"));
    EXPECT_EQ(config::standInFolder(), home.path());
}

TEST_F(RunFoldersTest, APortableFolderKeepsEverythingBesideTheProgram)
{
    const RunFolders folders(config::chooseProgramLayout({home.path(), true, "", "/home/ann", std::nullopt, std::nullopt}));
    EXPECT_EQ(folders.workspace(), home.file("temp"));
    EXPECT_EQ(folders.filesFolder(), home.path());
    EXPECT_EQ(config::settingsFolder(), home.path());
    EXPECT_EQ(config::standInFolder(), home.path());
    EXPECT_FALSE(std::filesystem::exists(home.file("cache")));
}

}  // namespace
}  // namespace kx::startup
