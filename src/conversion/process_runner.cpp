#include "conversion/process_runner.h"

namespace kx::conversion {

bool RunProcessAndWait(const std::string& commandLine, const std::string& workingFolder, std::int32_t waitTime,
    std::int32_t /*showState*/, std::int32_t creationFlags, platform::ProcessResult* howItEnded, AtWaitLimit atLimit)
{
    platform::ProcessRequest request { .commandLine = commandLine,
        .workingFolder = workingFolder,
        .endAtLimit = atLimit == AtWaitLimit::EndProcessGroup };
    if (waitTime >= 0)
        request.waitLimit = std::chrono::milliseconds(waitTime);
    request.higherPriority = (creationFlags & kHighPriorityClass) != 0;
    const platform::ProcessResult result = platform::runProcess(request);
    if (howItEnded)
        *howItEnded = result;
    return result.started();
}

}  // namespace kx::conversion
