// Where the desktop program keeps its settings, workspace and help: beside itself when its
// folder is a portable one, in the user's own folders when it is installed.
#include "config/program_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "config/settings.h"
#include "support/temp_folder.h"

namespace kx::config {
namespace {

struct LayoutCase {
    const char* name;
    LayoutFacts facts;
    ProgramLayout expected;
};

TEST(ProgramLayout, PortableWhenTheProgramFolderIsWritableElseTheUsersFolders)
{
    const std::optional<std::string> none;
    const LayoutCase cases[] = {
        {"writable program folder", {"/opt/kx", true, "", "/home/ann", none, none},
         {true, "/opt/kx", "/opt/kx", "/opt/kx", "/opt/kx/temp"}},
        {"read-only install", {"/usr/bin", false, "/usr/share/korvendal-xl", "/home/ann", none, none},
         {false, "/home/ann/.config/korvendal-xl", "/home/ann", "/usr/share/korvendal-xl", "/home/ann/.cache/korvendal-xl"}},
        {"installed tree the user may write to", {"/usr/bin", true, "/usr/share/korvendal-xl", "/root", none, none},
         {false, "/root/.config/korvendal-xl", "/root", "/usr/share/korvendal-xl", "/root/.cache/korvendal-xl"}},
        {"XDG folders named", {"/usr/bin", false, "/usr/share/korvendal-xl", "/home/ann", "/cfg", "/cache"},
         {false, "/cfg/korvendal-xl", "/home/ann", "/usr/share/korvendal-xl", "/cache/korvendal-xl"}},
        {"relative XDG folders are ignored", {"/usr/bin", false, "/usr/share/korvendal-xl", "/home/ann", "cfg", ""},
         {false, "/home/ann/.config/korvendal-xl", "/home/ann", "/usr/share/korvendal-xl", "/home/ann/.cache/korvendal-xl"}},
        {"read-only folder without installed data", {"/media/cd", false, "", "/home/ann", none, none},
         {false, "/home/ann/.config/korvendal-xl", "/home/ann", "/media/cd", "/home/ann/.cache/korvendal-xl"}},
    };
    for (const LayoutCase& test : cases) {
        SCOPED_TRACE(test.name);
        const ProgramLayout layout = chooseProgramLayout(test.facts);
        EXPECT_EQ(layout.portable, test.expected.portable);
        EXPECT_EQ(layout.settingsFolder, test.expected.settingsFolder);
        EXPECT_EQ(layout.standInFolder, test.expected.standInFolder);
        EXPECT_EQ(layout.filesFolder, test.expected.filesFolder);
        EXPECT_EQ(layout.workspaceFolder, test.expected.workspaceFolder);
    }
}

// An installed program's new user starts from the machine's default settings file.
class UserSettingsFile : public ::testing::Test {
protected:
    UserSettingsFile() { ::setenv("KORVENDAL_MACHINE_STORE", machine.file("machine.reg").c_str(), 1); }
    ~UserSettingsFile() override { ::unsetenv("KORVENDAL_MACHINE_STORE"); }

    ProgramLayout installed() const
    {
        LayoutFacts facts{"/usr/bin", false, "/usr/share/korvendal-xl", user.path(), std::nullopt, std::nullopt};
        return chooseProgramLayout(facts);
    }
    std::string userFile() const { return user.file(".config/korvendal-xl/SETTINGS.INI"); }

    testing::TempFolder machine, user;
};

TEST_F(UserSettingsFile, FirstStartCopiesTheMachineDefaultAndLaterStartsKeepTheUsersOwn)
{
    machine.write("SETTINGS.INI", "[SETTINGS]\r\nOPENFILE=0\r\n");
    provideUserSettingsFile(installed());
    EXPECT_EQ(user.read(".config/korvendal-xl/SETTINGS.INI"), "[SETTINGS]\r\nOPENFILE=0\r\n");

    user.write(".config/korvendal-xl/SETTINGS.INI", "[SETTINGS]\r\nPATH=/home/ann/book.xls\r\n");
    provideUserSettingsFile(installed());
    EXPECT_EQ(user.read(".config/korvendal-xl/SETTINGS.INI"), "[SETTINGS]\r\nPATH=/home/ann/book.xls\r\n");
}

TEST_F(UserSettingsFile, WithoutAMachineDefaultNothingIsMadeSoStartUpReportsItMissing)
{
    provideUserSettingsFile(installed());
    EXPECT_FALSE(std::filesystem::exists(userFile()));
}

TEST_F(UserSettingsFile, APortableProgramIsLeftToItsOwnFolder)
{
    machine.write("SETTINGS.INI", "[SETTINGS]\r\n");
    const LayoutFacts facts{user.path(), true, "", user.path(), std::nullopt, std::nullopt};
    provideUserSettingsFile(chooseProgramLayout(facts));
    EXPECT_FALSE(std::filesystem::exists(user.file("SETTINGS.INI")));
    EXPECT_FALSE(std::filesystem::exists(userFile()));
}

}  // namespace
}  // namespace kx::config
