#include "startup/startup.h"

#include "config/registry.h"
#include "config/settings.h"
#include "conversion/driver.h"
#include "errors/failure.h"
#include "errors/report_error.h"
#include "platform/filesystem.h"
#include "platform/program_end.h"
#include "platform/ui.h"
#include "platform/windows.h"
#include "startup/splash.h"

#include <QCoreApplication>

#include <cstdlib>

namespace kx::startup {
namespace {

constexpr const char* kExcelInstallKeys[] = {
    "SOFTWARE\\Microsoft\\Office\\9.0\\Excel\\InstallRoot",
    "SOFTWARE\\Microsoft\\Office\\10.0\\Excel\\InstallRoot",
    "SOFTWARE\\Microsoft\\Office\\11.0\\Excel\\InstallRoot",
};

constexpr const char* kPreviousMainWindowTitle = "OrvPDF-Powerful PDF Conversion Tool";

// Restores `window` when it is minimised and raises it; false when there is no such window.
bool restoreAndRaise(platform::WindowId window)
{
    if (window == 0)
        return false;
    platform::TopLevelWindows& windows = platform::topLevelWindows();
    if (windows.isMinimised(window))
        windows.restore(window);
    windows.bringToForeground(window);
    return true;
}

void refuseWithoutExcel()
{
    platform::ui().showMessage({"Microsoft Excel is not installed or corrupted. Please install Microsoft Excel 2000 "
                                "or higher version.",
                                "OrvPDF - Excel to PDF Converter", platform::MessageIcon::Critical,
                                platform::MessageButtons::Ok});
}

// A failure before any window is open would otherwise end the program without a word.
void reportStartFailure()
{
    const errors::ErrorInfo failure = errors::describeStandardFailure(std::current_exception());
    platform::ui().showMessage({"Korvendal XL could not start: " + failure.description, platform::kApplicationTitle,
                                platform::MessageIcon::Critical, platform::MessageButtons::Ok});
}

// Without its main window the program would end without a word once the splash closes.
std::function<void()> announcingFailure(std::function<void()> showMainWindow)
{
    return [show = std::move(showMainWindow)] {
        try {
            show();
        } catch (...) {
            reportStartFailure();
            throw;
        }
    };
}

}  // namespace

StartupServices programStartupServices(std::function<void()> showMainWindow)
{
    return {config::CheckSettingsFile, IsExcelInstalled, config::LoadSettings,
            announcingFailure(std::move(showMainWindow)), errors::ReportError, [] { QCoreApplication::exit(0); }};
}

int IsExcelInstalled()
{
    for (const char* key : kExcelInstallKeys)
        if (!config::ReadRegistryValue(config::RegistryRoot::LocalMachine, key, "Path").text().empty())
            return 1;
    return 0;
}

std::int16_t FindPreviousInstance()
{
    return restoreAndRaise(platform::topLevelWindows().findByTitle(kHandOffTitle)) ? 1 : 0;
}

void ActivatePreviousMainWindow()
{
    restoreAndRaise(platform::topLevelWindows().findByTitle(kPreviousMainWindowTitle));
}

void endOnTerminationRequest(const std::string& workspace)
{
    conversion::clearWorkspaceAtExit(workspace);
    platform::endProgram(EXIT_SUCCESS);
}

std::unique_ptr<Splash> Main(const StartupServices& services)
{
    try {
        if (!services.checkSettingsFile())
            return nullptr;
        if (services.isExcelInstalled() == 0) {
            refuseWithoutExcel();
            return nullptr;
        }
        auto splash = std::make_unique<Splash>(services);
        splash->show();
        return splash;
    } catch (...) {
        reportStartFailure();
        return nullptr;
    }
}

}  // namespace kx::startup
