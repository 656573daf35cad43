#pragma once
// Facts about where the program runs that decide how it presents and spreads its work.
#include <string>

namespace kx::platform {

// The processors this process may run on: its affinity (as Slurm and taskset set it), capped by
// its control group's processor quota (as container limits set it).
int processorCount();
// The processors' worth of time a control group's "cpu.max" allows ("200000 100000" is two), as
// container limits under Kubernetes or Docker set it; 0 when unlimited or unreadable.
int processorsInQuota(const std::string& cpuMax);
bool standardErrorIsTerminal();

}  // namespace kx::platform
