#pragma once
// The arguments of the command-line converter:
//   korvendal-xl-convert [options] SOURCE.xls TARGET.pdf
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "conversion/fixed_options.h"

namespace kx::conversion {

struct CommandLineRequest {
    OptionValues options;
    std::string source;
    std::string target;
    // How long each Ghostscript pass may run before it is ended and the job fails.
    std::chrono::milliseconds ghostscriptTimeout = std::chrono::minutes(10);
    bool helpWanted = false;
};

// Thrown for arguments that do not make a request; the text is one line for the user.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `arguments` without the program name. Throws UsageError.
CommandLineRequest parseCommandLine(const std::vector<std::string>& arguments);

std::string commandLineHelp();

}  // namespace kx::conversion
