#pragma once
// The program's start: the two checks that may refuse it, then the splash window, which loads
// the settings and after four seconds opens the main window or hands over to a running copy.
#include "mainwindow/window_services.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kx::startup {

class Splash;

// What start-up calls on; tests replace the parts that would end the test or open windows.
struct StartupServices {
    std::function<bool()> checkSettingsFile;  // shows its own message when the file is missing
    std::function<int()> isExcelInstalled;
    std::function<void()> loadSettings;
    std::function<void()> showMainWindow;  // creates and shows the main window
    mainwindow::ErrorReporter reportError;
    std::function<void()> terminate;  // ends the program at once
};

// The running program's services around `showMainWindow`.
StartupServices programStartupServices(std::function<void()> showMainWindow);

// The window title of a running copy to hand over to ("Orv PDF" and five blanks).
inline constexpr const char* kHandOffTitle = "Orv PDF     ";

// 1 when an Excel installation folder is recorded in the machine store, else 0.
int IsExcelInstalled();
// 1 when a window titled kHandOffTitle was found, restored and raised; else 0.
std::int16_t FindPreviousInstance();
// Restores and raises the running copy's main window, when there is one.
void ActivatePreviousMainWindow();

// Ends the program at once when asked to from outside (SIGTERM and the like), leaving no job
// files in the workspace unless another running program is converting there. Targets need no
// care: they are only ever replaced whole.
void endOnTerminationRequest(const std::string& workspace);

// Makes the checks and shows the splash; nothing when the program is to end now.
std::unique_ptr<Splash> Main(const StartupServices& services);

}  // namespace kx::startup
