#pragma once
// One workbook to one PDF through the conversion driver, in a working folder of its own.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "conversion/engine_automation.h"
#include "conversion/fixed_options.h"

namespace kx::cli {

struct ConversionReport {
    bool converted = false;
    std::optional<std::int32_t> errorNumber;  // the engine's or the driver's, when it gave one
    std::string message;                      // why it failed, one line
    int pages = 0;                            // pages printed, when converted
    std::vector<std::string> warnings;        // what reading and printing the workbook left out
};

// Converts `source` into `target`; the driver's messages go to the installed user interface.
// Several processes may do this at once: each works in a folder that it holds alone.
ConversionReport convertWorkbook(conversion::EngineApplicationFactory& engine, const conversion::OptionValues& options,
                                 const std::string& source, const std::string& target,
                                 std::chrono::milliseconds ghostscriptTimeout);

}  // namespace kx::cli
