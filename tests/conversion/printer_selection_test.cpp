#include "conversion/printer_selection.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <system_error>

#include "config/registry.h"
#include "fake_automation.h"
#include "support/fake_user_interface.h"
#include "support/temp_folder.h"

namespace kx::conversion {
namespace {

using platform::VersionRecord;

const char* const kMessageA = "Please install 'HP Color LaserJet 5/5M PS' printer driver with default name from Windows CD.";
const char* const kMessageB = "Please install 'HP Color LaserJet 5/5M PS' printer driver with all default name from Windows CD.";
const char* const kMessageC = "NO PostScript Printer Driver Found.";

TEST(VersionLabel, FollowsTheFamilyThenTheVersion)
{
    const struct {
        VersionRecord record;
        const char* label;
    } cases[] = {
        {{1, 4, 0}, "95"},   {{1, 4, 10}, "98"},  {{1, 4, 90}, "ME"}, {{1, 7, 90}, "ME"},
        {{1, 4, 3}, ""},     {{2, 3, 51}, "3.51"}, {{2, 3, 0}, "3.51"}, {{2, 4, 0}, "4.0"},
        {{2, 4, 7}, "4.0"},  {{2, 5, 0}, "2000"}, {{2, 5, 1}, "WinXP/.NET Server"},
        {{2, 5, 2}, ""},     {{2, 6, 1}, ""},     {{2, 10, 0}, ""},
        {{0, 3, 1}, "Failed"}, {{3, 5, 1}, "Failed"},
        {{platform::kLinuxPlatform, 6, 1}, "WinXP/.NET Server"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(versionLabel(c.record), c.label)
            << c.record.platformId << " " << c.record.major << "." << c.record.minor;
}

TEST(GetOSVersion, ThisSystemSelectsTheOwnQueueWithoutAMessage)
{
    testing::FakeUserInterface ui;
    const std::string label = GetOSVersion();
    EXPECT_EQ(targetPrinterName(label, "Office Laser"), kPrinterQueue);
    EXPECT_EQ(CheckPrinter(label, "Office Laser", {}), PrinterCheck::GoOn);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(GetOSVersion, AFailingProbeIsReportedAndGivesAnEmptyLabel)
{
    testing::FakeUserInterface ui;
    const auto failing = []() -> VersionRecord {
        throw std::system_error(std::make_error_code(std::errc::function_not_supported), "uname");
    };
    EXPECT_EQ(GetOSVersion(failing), "");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.pointerEvents.empty());  // it went through the error reporter

    const auto overflowing = []() -> VersionRecord { throw std::overflow_error("version"); };
    EXPECT_EQ(GetOSVersion(overflowing), "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("Error: OverFlow of Controls.", 0), 0u);
}

struct CheckCase {
    const char* label;
    std::vector<std::string> installed;
    PrinterCheck outcome;
    const char* message;  // nullptr: none
};

class PrinterCheckByLabel : public ::testing::TestWithParam<CheckCase> {};

TEST_P(PrinterCheckByLabel, GoesOnOrStopsWithTheLabelsMessage)
{
    const CheckCase c = GetParam();
    testing::FakeUserInterface ui;
    EXPECT_EQ(CheckPrinter(c.label, "Office Laser", c.installed), c.outcome);
    if (!c.message) {
        EXPECT_TRUE(ui.messages.empty());
        return;
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, c.message);
    EXPECT_EQ(ui.messages[0].title, "Korvendal");
    EXPECT_EQ(ui.messages[0].icon, platform::MessageIcon::None);
    EXPECT_EQ(ui.messages[0].buttons, platform::MessageButtons::Ok);
}

const std::vector<std::string> kWithDriver = {"Office Laser", "HP Color LaserJet 5/5M PS"};
const std::vector<std::string> kWithQueue = {"Office Laser", "Korvendal"};

INSTANTIATE_TEST_SUITE_P(
    Groups, PrinterCheckByLabel,
    ::testing::Values(
        // Driver-disk systems: the driver's printer must be there, else the job stops.
        CheckCase{"95", kWithDriver, PrinterCheck::GoOn, nullptr},
        CheckCase{"95", kWithQueue, PrinterCheck::Stop, kMessageA},
        CheckCase{"ME", {}, PrinterCheck::Stop, kMessageA},
        CheckCase{"4.0", {"hp color laserjet 5/5m ps"}, PrinterCheck::Stop, kMessageA},
        CheckCase{"4.0", kWithDriver, PrinterCheck::GoOn, nullptr},
        CheckCase{"98", kWithDriver, PrinterCheck::GoOn, nullptr},
        CheckCase{"98", kWithQueue, PrinterCheck::Stop, kMessageB},
        // Systems with the program's own queue go on silently, found or not.
        CheckCase{"2000", kWithQueue, PrinterCheck::GoOn, nullptr},
        CheckCase{"2000", {}, PrinterCheck::GoOn, nullptr},
        CheckCase{"WinXP/.NET Server", {"KORVENDAL"}, PrinterCheck::GoOn, nullptr},
        CheckCase{"2003", {}, PrinterCheck::GoOn, nullptr},
        // Any other label warns on every job, even when its printer is there, and goes on.
        CheckCase{"", kWithQueue, PrinterCheck::GoOn, kMessageC},
        CheckCase{"3.51", {}, PrinterCheck::GoOn, kMessageC},
        CheckCase{"Failed", kWithDriver, PrinterCheck::GoOn, kMessageC},
        CheckCase{"winxp/.net server", kWithQueue, PrinterCheck::GoOn, kMessageC}));

TEST(TargetPrinterName, ComesFromTheLabelGroupOrStaysTheActivePrinter)
{
    EXPECT_EQ(targetPrinterName("98", "Office Laser"), "HP Color LaserJet 5/5M PS");
    EXPECT_EQ(targetPrinterName("2003", "Office Laser"), "Korvendal");
    EXPECT_EQ(targetPrinterName("3.51", "Office Laser"), "Office Laser");
    EXPECT_EQ(targetPrinterName("", ""), "");
}

TEST(InstalledPrinters, AreTheSubkeysOfThePrintersKeyInTheMachineStore)
{
    testing::TempFolder folder;
    const std::string store = folder.write(
        "machine.reg",
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers]\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\korvendal]\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office Laser]\r\n"
        "\"Port\"=\"lpt1\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Office Laser\\PrinterDriverData]\r\n");
    setenv(config::kMachineStoreVariable, store.c_str(), 1);
    const std::vector<std::string> printers = InstalledPrinters();
    EXPECT_EQ(printers, (std::vector<std::string>{"korvendal", "Office Laser"}));

    // A queue differing only in case does not count, which on this system's label shows nothing.
    fakes::FakeApplicationFactory factory;
    const auto excel = factory.createApplication();
    testing::FakeUserInterface ui;
    EXPECT_EQ(CheckPrinter(*excel), PrinterCheck::GoOn);
    EXPECT_TRUE(ui.messages.empty());

    setenv(config::kMachineStoreVariable, folder.file("missing.reg").c_str(), 1);
    EXPECT_TRUE(InstalledPrinters().empty());
    unsetenv(config::kMachineStoreVariable);
}

TEST(ActivePrinter, IsTheUsersOwnAgainAfterThePrint)
{
    fakes::FakeApplicationFactory factory;
    factory.script().initialPrinter = "Office Laser on lp0";
    const auto excel = factory.createApplication();
    const std::string saved = SaveActivePrinter(*excel);
    excel->setActivePrinter("Korvendal");
    RestoreActivePrinter(*excel, saved);
    EXPECT_EQ(excel->activePrinter(), "Office Laser on lp0");
}

}  // namespace
}  // namespace kx::conversion
