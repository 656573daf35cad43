#pragma once
// The print options of the command-line converter, among its other arguments.
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "conversion/fixed_options.h"

namespace kx::conversion {

// The print options and, in their order, the arguments that are not options.
struct ConversionArguments {
    OptionValues options;
    std::vector<std::string> paths;
    // How long each Ghostscript pass may run before it is ended and the job fails.
    std::chrono::milliseconds ghostscriptTimeout = std::chrono::minutes(10);
    bool helpWanted = false;
    bool verbose = false;  // say on standard error what reading the workbook left out
    bool versionWanted = false;
};

// Thrown for arguments that do not make a request; the text is one line for the user.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A whole number from `lowest` to `highest`, digits only; nothing for any other text.
std::optional<int> wholeNumberOf(const std::string& text, int lowest, int highest);

// `arguments` without the program name. Throws UsageError.
ConversionArguments parseConversionArguments(const std::vector<std::string>& arguments);

}  // namespace kx::conversion
