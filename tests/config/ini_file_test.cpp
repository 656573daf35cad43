#include "config/ini_file.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace kx::config {
namespace {

const std::string kSettingsWithNeighbours =
    "; written by the installer\n"
    "[General]\n"
    "path=/not/this/one\n"
    "\n"
    "[Settings]\n"
    "  Path  =   \"/home/ann/books\"   \n"
    "OpenFile=0\n"
    "# comment inside the section\n"
    "\n"
    "[Other]\n"
    "OUTPUTPATH=/elsewhere\n";

TEST(IniRead, NamesAreCaseBlindAndValuesLoseBlanksAndQuotes)
{
    EXPECT_EQ(findIniValue(kSettingsWithNeighbours, "SETTINGS", "PATH"), "/home/ann/books");
    EXPECT_EQ(findIniValue(kSettingsWithNeighbours, "settings", "openfile"), "0");
    // A key of another section is not the one asked for.
    EXPECT_EQ(findIniValue(kSettingsWithNeighbours, "SETTINGS", "OUTPUTPATH"), std::nullopt);
    EXPECT_EQ(findIniValue(kSettingsWithNeighbours, "Missing", "PATH"), std::nullopt);
    EXPECT_EQ(findIniValue("", "SETTINGS", "PATH"), std::nullopt);
    EXPECT_EQ(findIniValue("PATH=/before/any/section\n", "SETTINGS", "PATH"), std::nullopt);
    EXPECT_EQ(findIniValue("[SETTINGS]\nPATH=\n", "SETTINGS", "PATH"), "");
    EXPECT_EQ(findIniValue("[SETTINGS]\nPATH='a b'\nX=\"unbalanced\n", "SETTINGS", "PATH"), "a b");
    EXPECT_EQ(findIniValue("[SETTINGS]\nX=\"unbalanced\n", "SETTINGS", "X"), "\"unbalanced");
    EXPECT_EQ(findIniValue("[SETTINGS]\nX=a=b\n", "SETTINGS", "X"), "a=b");
}

TEST(IniRead, ToleratesWindowsLineEndsByteOrderMarkAndMissingLastLineEnd)
{
    EXPECT_EQ(findIniValue("\xEF\xBB\xBF[SETTINGS]\r\nOPENFILE=1\r\n", "SETTINGS", "OPENFILE"), "1");
    EXPECT_EQ(findIniValue("[SETTINGS]\nOPENFILE=7", "SETTINGS", "OPENFILE"), "7");
    EXPECT_EQ(findIniValue("[SETTINGS\nOPENFILE=7", "SETTINGS", "OPENFILE"), "7");
}

TEST(IniRead, LongValuesAreCutTo254CharactersWithoutSplittingOne)
{
    const std::string ascii(300, 'x');
    EXPECT_EQ(findIniValue("[S]\nK=" + ascii + "\n", "S", "K"), std::string(254, 'x'));

    std::string accented;
    for (int i = 0; i < 300; ++i)
        accented += "\xC3\xA9";  // é, two bytes each
    const std::optional<std::string> cut = findIniValue("[S]\nK=" + accented + "\n", "S", "K");
    ASSERT_TRUE(cut);
    EXPECT_EQ(*cut, accented.substr(0, 2 * 254));
}

TEST(IniWrite, ReplacesTheValueAndKeepsEveryOtherLine)
{
    const std::string written = withIniValue(kSettingsWithNeighbours, "SETTINGS", "PATH", "/new/place");
    std::string expected = kSettingsWithNeighbours;
    expected.replace(expected.find("  Path  ="), std::string("  Path  =   \"/home/ann/books\"   ").size(),
                     "Path=/new/place");
    EXPECT_EQ(written, expected);
    EXPECT_EQ(findIniValue(written, "SETTINGS", "PATH"), "/new/place");
}

TEST(IniWrite, AddsAMissingKeyInsideItsSectionAndAMissingSectionAtTheEnd)
{
    const std::string withKey = withIniValue(kSettingsWithNeighbours, "SETTINGS", "OUTPUTPATH", "/out");
    EXPECT_NE(withKey.find("OpenFile=0\nOUTPUTPATH=/out\n# comment inside"), std::string::npos);
    EXPECT_EQ(findIniValue(withKey, "Other", "OUTPUTPATH"), "/elsewhere");

    const std::string withSection = withIniValue("[A]\r\nk=v", "SETTINGS", "PATH", "/p");
    EXPECT_EQ(withSection, "[A]\r\nk=v\r\n[SETTINGS]\r\nPATH=/p\r\n");

    EXPECT_EQ(withIniValue("", "SETTINGS", "PATH", "/p"), "[SETTINGS]\nPATH=/p\n");
    EXPECT_EQ(withIniValue("[settings]\n", "SETTINGS", "PATH", "/p"), "[settings]\nPATH=/p\n");
    EXPECT_EQ(withIniValue("\xEF\xBB\xBF[SETTINGS]\nPATH=a\n", "SETTINGS", "PATH", "b"),
              "\xEF\xBB\xBF[SETTINGS]\nPATH=b\n");
}

TEST(IniWrite, RefusesEntriesThatWouldBreakTheFile)
{
    EXPECT_TRUE(isWritableIniEntry("SETTINGS", "PATH", "/home/ann/odd [name]=x"));
    EXPECT_FALSE(isWritableIniEntry("SETTINGS", "PATH", "/tmp/a\n[SETTINGS]\nOPENFILE=0"));
    EXPECT_FALSE(isWritableIniEntry("SETTINGS", "PATH", "/tmp/a\rb"));
    EXPECT_FALSE(isWritableIniEntry("SETTINGS", "PATH", std::string("a\0b", 3)));
    EXPECT_FALSE(isWritableIniEntry("SETTINGS", "", "x"));
    EXPECT_FALSE(isWritableIniEntry("SETTINGS", "A=B", "x"));
    EXPECT_FALSE(isWritableIniEntry("SETTINGS", ";PATH", "x"));
    EXPECT_FALSE(isWritableIniEntry("SET]TINGS", "PATH", "x"));
}

TEST(IniFile, WriteCreatesReplacesAndLeavesNoTemporaryFileBehind)
{
    testing::TempFolder folder;
    const std::string path = folder.file("SETTINGS.INI");
    ASSERT_TRUE(writeIniFileValue(path, "SETTINGS", "PATH", "/one"));
    ASSERT_TRUE(writeIniFileValue(path, "SETTINGS", "OUTPUTPATH", "/two"));
    ASSERT_TRUE(writeIniFileValue(path, "settings", "path", "/three"));
    EXPECT_EQ(folder.read("SETTINGS.INI"), "[SETTINGS]\nPATH=/three\nOUTPUTPATH=/two\n");
    EXPECT_EQ(readIniFileValue(path, "SETTINGS", "OUTPUTPATH"), "/two");

    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(IniFile, FailedWriteLeavesTheOldFileAsItWas)
{
    testing::TempFolder folder;
    const std::string path = folder.write("SETTINGS.INI", kSettingsWithNeighbours);
    EXPECT_FALSE(writeIniFileValue(path, "SETTINGS", "PATH", "/a\nOPENFILE=0"));
    EXPECT_EQ(folder.read("SETTINGS.INI"), kSettingsWithNeighbours);

    EXPECT_FALSE(writeIniFileValue(folder.file("no-such-folder/SETTINGS.INI"), "SETTINGS", "PATH", "/a"));
    EXPECT_FALSE(readIniFileValue(folder.file("no-such-folder/SETTINGS.INI"), "SETTINGS", "PATH"));
}

TEST(IniFile, WriteThroughASymbolicLinkKeepsTheLink)
{
    testing::TempFolder folder;
    const std::string target = folder.write("real.ini", "[SETTINGS]\nOPENFILE=0\n");
    const std::string link = folder.file("SETTINGS.INI");
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(writeIniFileValue(link, "SETTINGS", "PATH", "/p"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(folder.read("real.ini"), "[SETTINGS]\nOPENFILE=0\nPATH=/p\n");
}

}  // namespace
}  // namespace kx::config
