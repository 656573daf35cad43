#pragma once
// Runs one external program from a single command line and blocks until it ends.
#include <cstdint>
#include <string>

#include "platform/process.h"

namespace kx::conversion {

inline constexpr std::int32_t kWaitWithoutLimit = -1;
inline constexpr std::int32_t kHiddenWindow = 0;
inline constexpr std::int32_t kHighPriorityClass = 128;

// What happens to a program still running when a wait time runs out.
enum class AtWaitLimit { LeaveRunning, EndProcessGroup };

// Starts `commandLine` (program and arguments in one string) in `workingFolder` and waits for it:
// without a limit when `waitTime` is negative (-1 by convention), else for at most that many
// milliseconds. `showState` only matters where programs have windows; the high-priority flag of
// `creationFlags` asks for a higher priority where the system allows it. The answer is true
// exactly when the process was started: how it ended does not change it, but is written to
// `howItEnded` when given. A program left running is collected when it ends.
bool RunProcessAndWait(const std::string& commandLine, const std::string& workingFolder, std::int32_t waitTime,
    std::int32_t showState, std::int32_t creationFlags, platform::ProcessResult* howItEnded = nullptr,
    AtWaitLimit atLimit = AtWaitLimit::LeaveRunning);

}  // namespace kx::conversion
