#pragma once
// What the main window needs from the rest of the program, handed in by start-up so that
// tests can supply their own settings, error reporter and program end.
#include <cstdint>
#include <functional>
#include <string>

namespace kx::mainwindow {

// Hands a failure to the program's error reporter; true when the caller may carry on.
using ErrorReporter =
    std::function<bool(std::int32_t code, const std::string& description, const std::string& source)>;

// The program-wide settings values the window reads and changes, and the settings-file write.
struct SettingsLink {
    std::int16_t* launch = nullptr;           // non-zero: open the PDF after conversion
    std::string* pageRange = nullptr;         // start text of the "From" box
    std::string* recentFolder = nullptr;      // last source path chosen
    std::string* recentOutputFolder = nullptr;  // last target path chosen
    std::function<bool(const std::string& section, const std::string& key, const std::string& value)> writeIniValue;
};

struct WindowServices {
    SettingsLink settings;
    ErrorReporter reportError;
    std::function<void()> endProgram;  // ends the program at once
    std::string programFolder;         // holds "help" and the other program files
    std::string workspaceFolder;       // where each job's print and PDFs are made
};

// The services of the running program: the shared settings values and the settings file,
// the program's error reporter, and an end that leaves the event loop at once.
WindowServices programWindowServices();

}  // namespace kx::mainwindow
