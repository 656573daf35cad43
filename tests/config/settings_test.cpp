#include "config/settings.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/fake_user_interface.h"
#include "support/temp_folder.h"

namespace kx::config {
namespace {

// A program folder of its own for each test, with the shared values back at their start.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        setSettingsFolder(folder.path());
        strIniPath.clear();
        strIniValue = "left over";
        Launch = 99;
        PageRange = "left over";
        RecentFolder = RecentOutputFolder = "left over";
    }
    void TearDown() override { setSettingsFolder(""); }

    void startWith(const std::string& settingsText)
    {
        folder.write("SETTINGS.INI", settingsText);
        ASSERT_TRUE(CheckSettingsFile());
    }
    std::int16_t launchFor(const std::string& openFileLine)
    {
        startWith("[SETTINGS]\n" + openFileLine + "\n");
        LoadSettings();
        return Launch;
    }

    testing::TempFolder folder;
    testing::FakeUserInterface ui;
};

TEST_F(SettingsStore, MissingSettingsFileIsReportedAndRefused)
{
    EXPECT_FALSE(CheckSettingsFile());
    EXPECT_EQ(strIniPath, folder.file("SETTINGS.INI"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Initialization file is missing.");
    EXPECT_EQ(ui.messages[0].title, "Korvendal XL");
    EXPECT_EQ(ui.messages[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(ui.messages[0].buttons, platform::MessageButtons::Ok);

    // A folder of that name is not a settings file either.
    std::filesystem::create_directory(folder.file("SETTINGS.INI"));
    EXPECT_FALSE(CheckSettingsFile());
}

TEST_F(SettingsStore, EmptySettingsFileIsEnoughAndGivesTheStartValues)
{
    startWith("");
    EXPECT_TRUE(ui.messages.empty());
    LoadSettings();
    EXPECT_EQ(Launch, 1);
    EXPECT_EQ(PageRange, "1");
    EXPECT_EQ(RecentFolder, folder.path());
    EXPECT_EQ(RecentOutputFolder, folder.path());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SettingsStore, OpenFileIsAWholeSixteenBitNumberOrAbsent)
{
    EXPECT_EQ(launchFor("OPENFILE=0"), 0);
    EXPECT_EQ(launchFor("OPENFILE="), 1);
    EXPECT_EQ(launchFor("OTHER=0"), 1);
    EXPECT_EQ(launchFor("OPENFILE=1.5"), 2);
    EXPECT_EQ(launchFor("OPENFILE=2.5"), 2);
    EXPECT_EQ(launchFor("OPENFILE=-2.5"), -2);
    EXPECT_EQ(launchFor("OPENFILE=0.4"), 0);
    EXPECT_EQ(launchFor("OPENFILE= -1 "), -1);
    EXPECT_EQ(launchFor("OPENFILE=\"+5\""), 5);
    EXPECT_EQ(launchFor("OPENFILE=32767"), 32767);
    EXPECT_EQ(launchFor("OPENFILE=-32768.5"), -32768);
    // Not a whole number in range: the start value, as if the key were absent.
    EXPECT_EQ(launchFor("OPENFILE=70000"), 1);
    EXPECT_EQ(launchFor("OPENFILE=32767.5"), 1);
    EXPECT_EQ(launchFor("OPENFILE=abc"), 1);
    EXPECT_EQ(launchFor("OPENFILE=0abc"), 1);
    EXPECT_EQ(launchFor("OPENFILE=1e3"), 1);
    EXPECT_EQ(launchFor("OPENFILE=nan"), 1);
    EXPECT_EQ(launchFor("OPENFILE=+-3"), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SettingsStore, RememberedPathsAreTakenOnlyWhileSomethingVisibleStandsThere)
{
    const std::string file = folder.write("book.xls", "x");
    const std::string subfolder = folder.file("out");
    std::filesystem::create_directory(subfolder);
    folder.write(".hidden", "x");

    startWith("[SETTINGS]\nPATH=" + file + "\nOUTPUTPATH=" + subfolder + "\n");
    LoadSettings();
    EXPECT_EQ(RecentFolder, file);
    EXPECT_EQ(RecentOutputFolder, subfolder);

    std::filesystem::remove(file);
    LoadSettings();
    EXPECT_EQ(RecentFolder, folder.path());
    EXPECT_EQ(folder.read("SETTINGS.INI").find("PATH=" + file) != std::string::npos, true);

    startWith("[SETTINGS]\nPATH=" + folder.file(".hidden") + "\n");
    LoadSettings();
    EXPECT_EQ(RecentFolder, folder.path());
    EXPECT_EQ(RecentOutputFolder, folder.path());
}

TEST_F(SettingsStore, ReadIniValueAnswersOnlyForNonEmptyValuesAndNeverLeavesAStaleOne)
{
    startWith("[SETTINGS]\nPATH=/somewhere\nEMPTY=\nLONG=" + std::string(300, 'v') + "\n");
    ASSERT_TRUE(ReadIniValue("SETTINGS", "PATH"));
    EXPECT_EQ(strIniValue, "/somewhere");
    EXPECT_FALSE(ReadIniValue("SETTINGS", "ABSENT"));
    EXPECT_EQ(strIniValue, "");

    ASSERT_TRUE(ReadIniValue("SETTINGS", "PATH"));
    EXPECT_FALSE(ReadIniValue("SETTINGS", "EMPTY"));
    EXPECT_EQ(strIniValue, "");

    ASSERT_TRUE(ReadIniValue("SETTINGS", "LONG"));
    EXPECT_EQ(strIniValue, std::string(254, 'v'));

    std::filesystem::remove(strIniPath);
    EXPECT_FALSE(ReadIniValue("SETTINGS", "PATH"));
    EXPECT_EQ(strIniValue, "");
}

TEST_F(SettingsStore, WriteKeepsOtherSectionsAndCommentsAndIsReadBack)
{
    const std::string original =
        "; Korvendal XL settings\r\n"
        "[Window]\r\n"
        "Left=100\r\n"
        "[SETTINGS]\r\n"
        "OPENFILE=0 ; keep closed\r\n"
        "\r\n"
        "[Extra]\r\n"
        "PATH=/not/ours\r\n";
    startWith(original);
    ASSERT_TRUE(WriteIniValue("SETTINGS", "PATH", "/home/ann/in"));
    ASSERT_TRUE(WriteIniValue("SETTINGS", "OUTPUTPATH", "/home/ann/out"));
    ASSERT_TRUE(WriteIniValue("SETTINGS", "PATH", "/home/ann/in2"));

    std::string expected = original;
    expected.insert(expected.find("\r\n\r\n[Extra]") + 2, "PATH=/home/ann/in2\r\nOUTPUTPATH=/home/ann/out\r\n");
    EXPECT_EQ(folder.read("SETTINGS.INI"), expected);
    ASSERT_TRUE(ReadIniValue("SETTINGS", "PATH"));
    EXPECT_EQ(strIniValue, "/home/ann/in2");
}

TEST_F(SettingsStore, WriteCreatesAMissingFileButRefusesAPathThatWouldAddLines)
{
    startWith("");
    std::filesystem::remove(strIniPath);
    ASSERT_TRUE(WriteIniValue("SETTINGS", "OUTPUTPATH", "/out"));
    EXPECT_EQ(folder.read("SETTINGS.INI"), "[SETTINGS]\nOUTPUTPATH=/out\n");

    EXPECT_FALSE(WriteIniValue("SETTINGS", "PATH", "/tmp/x\nOPENFILE=0"));
    EXPECT_EQ(folder.read("SETTINGS.INI"), "[SETTINGS]\nOUTPUTPATH=/out\n");
}

}  // namespace
}  // namespace kx::config
