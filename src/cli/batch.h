#pragma once
// A batch run: the workbooks gathered, shared out, converted side by side, each result written
// as it comes, and the exit status that sums them up.
#include "cli/arguments.h"

namespace kx::cli {

inline constexpr int kExitConverted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// A batch stopped by a signal exits with 128 and the signal's number, as the shell reports it.
inline constexpr int kExitSignalBase = 128;

int runBatch(const conversion::OptionValues& options, const BatchOptions& batch,
             std::chrono::milliseconds ghostscriptTimeout);

}  // namespace kx::cli
