#pragma once
// Work run in a copy of this process, so that each job has memory, fonts and failures of its
// own while sharing what the parent prepared before it (the loaded font configuration).
#include <functional>
#include <optional>
#include <string>

namespace kx::platform {

struct ForkedJob {
    int processId = -1;
    int reportPipe = -1;  // read end: what the job's work returned
};

// Runs `work` in a child process of its own process group (so that a Ctrl-C at the terminal
// reaches only this process, which decides what the child does) and ends the child with what
// `work` returned written to the job's report pipe. The child's own output, and that of the
// programs it runs, goes nowhere: the report is what it has to say. Only for a process with no other threads.
// Nothing when the child cannot be made.
std::optional<ForkedJob> startForkedJob(const std::function<std::string()>& work);

struct ForkedJobEnd {
    int processId = -1;
    std::string report;    // empty when the work did not finish
    bool finished = false; // the work returned and the child ended normally
    std::string cause;     // why it did not finish, in words
    long peakMemoryKb = 0;
};

// Waits for one of this process's forked jobs to end and reads its report (closing the pipe
// of `job`, found by process id through `pipeOf`). Nothing when a signal interrupted the wait
// or no child is left.
std::optional<ForkedJobEnd> waitForForkedJob(const std::function<int(int processId)>& pipeOf);

// Ends the job and everything it started at once.
void endForkedJob(const ForkedJob& job);

}  // namespace kx::platform
