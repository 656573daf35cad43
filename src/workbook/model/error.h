#pragma once
// The one exception type of the workbook engine. Every failure to open, read or print a
// workbook ends in it, with a number the conversion code can report and a sentence a user understands.
#include <stdexcept>
#include <string>

namespace kx::workbook {

// Numbers in the range the spreadsheet program uses for its own automation failures, so that
// the error reporter can tell them from the program's run-time errors.
enum class ErrorCode : int {
    FileNotFound = 1004,     // missing or unreadable file
    NotAWorkbook = 1005,     // not a compound file, or no workbook stream in it
    Unsupported = 1006,      // a format version this engine does not read
    PasswordProtected = 1007,
    Corrupt = 1008,          // truncated or inconsistent records
    NothingToPrint = 1009,
    PrinterNotInstalled = 1010,
    PrintFailed = 1011,      // the print file could not be written
    TooManyPages = 1012,
};

class WorkbookError : public std::runtime_error {
public:
    WorkbookError(ErrorCode code, const std::string& description)
        : std::runtime_error(description), code_(code) {}
    ErrorCode code() const { return code_; }
    int number() const { return static_cast<int>(code_); }

private:
    ErrorCode code_;
};

}  // namespace kx::workbook
