#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "config/registry.h"
#include "config/registry_file.h"
#include "support/temp_folder.h"

using namespace kx::config;

namespace {

// Writes a machine store and points KORVENDAL_MACHINE_STORE at it for the test's duration.
class MachineStore : public ::testing::Test {
protected:
    void SetUp() override { setenv(kMachineStoreVariable, path_.c_str(), 1); }
    void TearDown() override { unsetenv(kMachineStoreVariable); }
    void write(const std::string& content) { folder_.write("machine.reg", content); }
    RegistryValue read(const std::string& key, const std::string& name)
    {
        return ReadRegistryValue(RegistryRoot::LocalMachine, key, name);
    }

    kx::testing::TempFolder folder_;
    std::string path_ = folder_.file("machine.reg");
};

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

}  // namespace

TEST_F(MachineStore, ReadsEachTypeAsTextNumberOrEmpty)
{
    setenv("KX_TEST_ROOT", "/opt/kx", 1);
    write(kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\r\n"
                    "\"GSPath\"=\"/usr/bin/gs\"\r\n"
                    "\"Quoted\"=\"C:\\\\Program Files\\\\\\\"gs\\\"\"\r\n"
                    // "%KX_TEST_ROOT%\bin" as UTF-16 with its terminator.
                    "\"Expanded\"=hex(2):25,00,4b,00,58,00,5f,00,54,00,45,00,53,00,54,00,5f,00,52,00,\\\r\n"
                    "  4f,00,4f,00,54,00,25,00,2f,00,62,00,69,00,6e,00,00,00\r\n"
                    "\"Count\"=dword:0000000a\r\n"
                    "\"One\"=dword:00000001\r\n"
                    "\"Binary\"=hex:01,02,03\r\n"
                    "\"Wide\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                    "@=\"default\"\r\n");
    EXPECT_EQ(read("SOFTWARE\\GS", "GSPath"), RegistryValue(std::string("/usr/bin/gs")));
    EXPECT_EQ(read("SOFTWARE\\GS", "Quoted").text(), "C:\\Program Files\\\"gs\"");
    EXPECT_EQ(read("SOFTWARE\\GS", "Expanded").text(), "/opt/kx/bin");
    EXPECT_EQ(read("SOFTWARE\\GS", "Count").number(), 10u);
    EXPECT_EQ(read("SOFTWARE\\GS", "Count").text(), "10");
    EXPECT_EQ(read("SOFTWARE\\GS", "One").text(), "1");
    EXPECT_TRUE(read("SOFTWARE\\GS", "Binary").isEmpty());
    EXPECT_TRUE(read("SOFTWARE\\GS", "Wide").isEmpty());
    EXPECT_EQ(read("SOFTWARE\\GS", "").text(), "default");
    unsetenv("KX_TEST_ROOT");
}

TEST_F(MachineStore, NamesCompareWithoutCase)
{
    write(kHeader + "[hkey_local_machine\\Software\\gs]\n\"gspath\"=\"/usr/bin/gs\"\n");
    EXPECT_EQ(read("SOFTWARE\\GS", "GSPath").text(), "/usr/bin/gs");
}

TEST_F(MachineStore, OnlyTheTerminatorIsDroppedFromStoredText)
{
    // "gs" followed by a stray NUL and the terminator; and text stored without any terminator.
    write(kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\n"
                    "\"GSPath\"=hex(1):67,00,73,00,00,00,00,00\n"
                    "\"Bare\"=hex(1):67,00,73,00\n");
    EXPECT_EQ(read("SOFTWARE\\GS", "GSPath").text(), std::string("gs\0", 3));
    EXPECT_EQ(read("SOFTWARE\\GS", "Bare").text(), "gs");
}

TEST_F(MachineStore, MissingFileKeyOrValueGiveEmpty)
{
    EXPECT_TRUE(read("SOFTWARE\\GS", "GSPath").isEmpty());
    write(kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\n\"GSPath\"=\"/usr/bin/gs\"\n");
    EXPECT_TRUE(read("SOFTWARE\\Missing", "GSPath").isEmpty());
    EXPECT_TRUE(read("SOFTWARE\\GS", "Missing").isEmpty());
    EXPECT_TRUE(ReadRegistryValue(RegistryRoot::CurrentUser, "SOFTWARE\\GS", "GSPath").isEmpty());
}

TEST_F(MachineStore, MalformedLinesAreSkippedAndTheRestIsRead)
{
    write(kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Broken\n"
                    "\"Before\"=\"values outside any key are ignored\"\n"
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\n"
                    "\"Unclosed\"=\"text\n"
                    "\"Trailing\"=\"text\" junk\n"
                    "\"BadNumber\"=dword:xyz\n"
                    "\"LongNumber\"=dword:123456789\n"
                    "\"BadHex\"=hex(1):6g,00\n"
                    "\"ShortNumber\"=hex(4):01,00\n"
                    "NoQuotes=\"x\"\n"
                    "; a comment\n"
                    "\"GSPath\"=\"/usr/bin/gs\"\n"
                    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\n"
                    "\"GSPath\"=\"/deleted\"\n");
    for (const char* name : { "Unclosed", "Trailing", "BadNumber", "LongNumber", "BadHex", "ShortNumber", "NoQuotes" })
        EXPECT_TRUE(read("SOFTWARE\\GS", name).isEmpty()) << name;
    EXPECT_TRUE(read("SOFTWARE\\Broken", "Before").isEmpty());
    EXPECT_EQ(read("SOFTWARE\\GS", "GSPath").text(), "/usr/bin/gs");
}

TEST_F(MachineStore, GarbageFilesNeverCrash)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string content = round % 2 ? kHeader + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\n\"GSPath\"=" : "";
        const auto length = random() % 400;
        for (unsigned i = 0; i < length; ++i)
            content.push_back("\"[]\\=:,%@-\n\r\0hexdword(0123456789abcdef)"[random() % 40]);
        const RegistryFile file = RegistryFile::parse(content);
        (void)file.find("HKEY_LOCAL_MACHINE\\SOFTWARE\\GS", "GSPath");
        (void)file.subkeys("HKEY_LOCAL_MACHINE\\SOFTWARE");
    }
    write(std::string("\x00\xff\xfe[\\\\\"=\x01", 10));
    EXPECT_TRUE(read("SOFTWARE\\GS", "GSPath").isEmpty());
}

TEST_F(MachineStore, ReadsUtf16ExportsAndRegedit4TypedText)
{
    static const char utf16[] = "\xFF\xFE" "W\0i\0n\0\r\0\n\0[\0H\0K\0E\0Y\0_\0L\0O\0C\0A\0L\0_\0M\0A\0C\0H\0I\0N\0E\0"
                             "\\\0G\0S\0]\0\r\0\n\0\"\0P\0\"\0=\0\"\0\xe9\0\"\0";
    write(std::string(utf16, sizeof utf16 - 1));
    EXPECT_EQ(read("GS", "P").text(), "\xc3\xa9");
    write("REGEDIT4\n[HKEY_LOCAL_MACHINE\\GS]\n\"P\"=hex(1):67,73,00\n");
    EXPECT_EQ(read("GS", "P").text(), "gs");
}

TEST_F(MachineStore, ListsDirectSubkeysOnceInFileOrder)
{
    const std::string printers = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
    write(kHeader + "[" + printers + "]\n"
                    "[" + printers + "\\Korvendal]\n\"Name\"=\"Korvendal\"\n"
                    "[" + printers + "\\Korvendal\\PrinterDriverData]\n"
                    "[" + printers + "\\Office Jet\\DsSpooler]\n"
                    "[" + printers + "\\KORVENDAL]\n"
                    "[" + printers + "Elsewhere]\n");
    const std::vector<std::string> expected { "Korvendal", "Office Jet" };
    EXPECT_EQ(registrySubkeys(RegistryRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers"),
        expected);
    EXPECT_TRUE(registrySubkeys(RegistryRoot::LocalMachine, "SYSTEM\\Missing").empty());
}

TEST_F(MachineStore, StorePathComesFromTheEnvironmentElseTheMachineWideFile)
{
    EXPECT_EQ(machineStorePath(), path_);
    setenv(kMachineStoreVariable, "", 1);
    EXPECT_EQ(machineStorePath(), kMachineWideStore);
}

TEST(EnvironmentReferences, ReplaceKnownNamesAndKeepTheRest)
{
    const auto lookup = [](const std::string& name) -> std::optional<std::string> {
        if (name == "A")
            return "1";
        return std::nullopt;
    };
    EXPECT_EQ(expandEnvironmentReferences("x%A%y%A%", lookup), "x1y1");
    EXPECT_EQ(expandEnvironmentReferences("%B%/%A%", lookup), "%B%/1");
    EXPECT_EQ(expandEnvironmentReferences("100%% %A", lookup), "100%% %A");
}

TEST(Utf16Text, DecodesSurrogatesAndReplacesBrokenUnits)
{
    EXPECT_EQ(utf16LittleEndianToUtf8(std::string("\x3d\xd8\x00\xde", 4)), "\xf0\x9f\x98\x80");
    EXPECT_EQ(utf16LittleEndianToUtf8(std::string("\x00\xdc" "A", 3)), "\xef\xbf\xbd\xef\xbf\xbd");
}
