#include "../support/fake_user_interface.h"
#include "config/settings.h"
#include "platform/windows.h"
#include "startup/splash.h"
#include "startup/startup.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace kx::testing {
namespace {

// Other programs' windows, by title; records what start-up does to them.
class FakeWindows final : public platform::TopLevelWindows {
public:
    FakeWindows() { previous_ = platform::installTopLevelWindows(this); }
    ~FakeWindows() override { platform::installTopLevelWindows(previous_); }

    std::map<std::string, platform::WindowId> titles;
    std::set<platform::WindowId> minimised;
    std::vector<platform::WindowId> restored, raised;
    std::vector<std::string> activated;
    bool activationFails = false;

    platform::WindowId findByTitle(const std::string& title) override
    {
        const auto found = titles.find(title);
        return found == titles.end() ? 0 : found->second;
    }
    bool isMinimised(platform::WindowId window) override { return minimised.count(window) != 0; }
    void restore(platform::WindowId window) override { restored.push_back(window); }
    void bringToForeground(platform::WindowId window) override { raised.push_back(window); }
    bool activateByTitle(const std::string& title) override
    {
        activated.push_back(title);
        return !activationFails;
    }

private:
    platform::TopLevelWindows* previous_ = nullptr;
};

// A program folder and machine store of the test's own, with start-up's effects recorded.
class StartupTest : public ::testing::Test {
protected:
    StartupTest()
    {
        config::setSettingsFolder(folder.path().toStdString());
        qputenv("KORVENDAL_MACHINE_STORE", (folder.path() + "/machine.reg").toUtf8());
    }
    ~StartupTest() override
    {
        config::setSettingsFolder("");
        qunsetenv("KORVENDAL_MACHINE_STORE");
    }

    void writeFile(const QString& name, const std::string& content)
    {
        std::ofstream((folder.path() + "/" + name).toStdString(), std::ios::binary) << content;
    }

    void recordExcelUnder(const std::string& version, const std::string& path = "C:\\\\Office")
    {
        writeFile("machine.reg", "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\"
                                     + version + "\\Excel\\InstallRoot]\r\n\"Path\"=\"" + path + "\"\r\n");
    }

    startup::StartupServices services()
    {
        startup::StartupServices services = startup::programStartupServices([this] {
            ++mainWindowsShown;
            if (mainWindowFails)
                throw std::runtime_error("The main window could not be made");
        });
        services.isExcelInstalled = [this] { return ++excelChecks, startup::IsExcelInstalled(); };
        services.reportError = [this](std::int32_t code, const std::string&, const std::string& source) {
            reported.emplace_back(code, source);
            return false;
        };
        services.terminate = [this] { ++terminations; };
        return services;
    }

    std::unique_ptr<startup::Splash> start()
    {
        writeFile("SETTINGS.INI", "[SETTINGS]\r\n");
        recordExcelUnder("11.0");
        return startup::Main(services());
    }

    QTemporaryDir folder;
    FakeUserInterface ui;
    FakeWindows windows;
    int excelChecks = 0;
    int mainWindowsShown = 0;
    bool mainWindowFails = false;
    int terminations = 0;
    std::vector<std::pair<std::int32_t, std::string>> reported;
};

TEST_F(StartupTest, WithoutTheSettingsFileOnlyItsMessageIsShown)
{
    recordExcelUnder("11.0");
    EXPECT_EQ(startup::Main(services()), nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Initialization file is missing.");
    EXPECT_EQ(ui.messages[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(excelChecks, 0);
}

TEST_F(StartupTest, ExcelCountsWhenRecordedUnderOneOfTheThreeVersions)
{
    for (const char* version : {"9.0", "10.0", "11.0"}) {
        recordExcelUnder(version);
        EXPECT_EQ(startup::IsExcelInstalled(), 1) << version;
    }
    recordExcelUnder("11.0", "/no/such/folder");
    EXPECT_EQ(startup::IsExcelInstalled(), 1);
    recordExcelUnder("11.0", "");
    EXPECT_EQ(startup::IsExcelInstalled(), 0);
    recordExcelUnder("12.0");
    EXPECT_EQ(startup::IsExcelInstalled(), 0);
}

TEST_F(StartupTest, WithoutExcelTheProgramEndsAfterItsMessage)
{
    writeFile("SETTINGS.INI", "");
    recordExcelUnder("12.0");
    EXPECT_EQ(startup::Main(services()), nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Microsoft Excel is not installed or corrupted. Please install Microsoft Excel "
                                   "2000 or higher version.");
    EXPECT_EQ(ui.messages[0].title, "OrvPDF - Excel to PDF Converter");
    EXPECT_EQ(ui.messages[0].icon, platform::MessageIcon::Critical);
}

TEST_F(StartupTest, SplashLoadsTheSettingsBeforeItIsShown)
{
    writeFile("SETTINGS.INI", "[SETTINGS]\r\nOPENFILE=0\r\n");
    recordExcelUnder("10.0");
    config::Launch = 1;
    const auto splash = startup::Main(services());
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(config::Launch, 0);
    EXPECT_EQ(splash->windowTitle(), "Korvendal XL");
    EXPECT_EQ(splash->statusText(), "Please wait... loading application settings...");
    EXPECT_EQ(splash->progress(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StartupTest, StatusLineAlternatesEveryHalfSecondUntilLoaded)
{
    const auto splash = start();
    const char* expected[] = {"Please wait...", "Please wait......Initializing Application",
                              "Please wait...", "Please wait......Initializing Application",
                              "Please wait...", "Please wait......Initializing Application",
                              "Please wait...", "Application Loaded Successfully"};
    for (const char* text : expected) {
        EXPECT_TRUE(splash->statusTimerRunning());
        splash->Timer2_Timer();
        EXPECT_EQ(splash->statusText(), text);
    }
    EXPECT_FALSE(splash->statusTimerRunning());
}

TEST_F(StartupTest, ProgressRisesByTwoAndStartsOverAfterAHundred)
{
    const auto splash = start();
    for (int tick = 1; tick <= 50; ++tick)
        splash->Timer3_Timer();
    EXPECT_EQ(splash->progress(), 100);
    splash->Timer3_Timer();
    EXPECT_EQ(splash->progress(), 2);
}

TEST_F(StartupTest, AfterFourSecondsTheMainWindowOpensAndTheSplashCloses)
{
    windows.titles["Orv PDF"] = 7;  // without the five blanks it is not a running copy
    const auto splash = start();
    splash->Timer1_Timer();
    EXPECT_EQ(mainWindowsShown, 1);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_EQ(terminations, 0);
    EXPECT_TRUE(windows.activated.empty());
}

TEST_F(StartupTest, ARunningCopyIsRestoredAndRaisedAndThisCopyEnds)
{
    windows.titles["Orv PDF     "] = 3;
    windows.titles["OrvPDF-Powerful PDF Conversion Tool"] = 4;
    windows.minimised = {3, 4};
    const auto splash = start();
    splash->Timer1_Timer();
    EXPECT_EQ(windows.restored, (std::vector<platform::WindowId>{3, 4}));
    EXPECT_EQ(windows.raised, (std::vector<platform::WindowId>{3, 4}));
    EXPECT_EQ(windows.activated, std::vector<std::string>{"Orv PDF"});
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(mainWindowsShown, 0);
}

TEST_F(StartupTest, FailuresInTheFourSecondStepAreReportedAndTheStepGoesOn)
{
    windows.titles["Orv PDF     "] = 3;
    windows.activationFails = true;
    auto splash = start();
    splash->Timer1_Timer();
    EXPECT_EQ(reported, (std::vector<std::pair<std::int32_t, std::string>>{{5, "tmr_Timer()"}}));
    EXPECT_EQ(terminations, 1);

    windows.titles.clear();
    reported.clear();
    mainWindowFails = true;
    splash = start();
    splash->Timer1_Timer();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].second, "tmr_Timer()");
    EXPECT_FALSE(splash->isVisible());
    // Without its main window the program would otherwise vanish without a word.
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().icon, platform::MessageIcon::Critical);
}

TEST_F(StartupTest, AnUnreadableSettingsValueStillShowsTheSplash)
{
    auto services = this->services();
    services.loadSettings = [] { throw std::overflow_error("OPENFILE"); };
    writeFile("SETTINGS.INI", "");
    recordExcelUnder("11.0");
    const auto splash = startup::Main(services);
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].first, 6);
}

TEST_F(StartupTest, TheTimersRunTheSplashToTheMainWindowInFourSeconds)
{
    const auto splash = start();
    QTest::qWait(3500);
    EXPECT_EQ(mainWindowsShown, 0);
    EXPECT_GE(splash->progress(), 60);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mainWindowsShown == 1; }, 2000));
    EXPECT_FALSE(splash->isVisible());
}

}  // namespace
}  // namespace kx::testing
