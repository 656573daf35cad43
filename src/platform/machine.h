#pragma once
// Facts about where the program runs that decide how it presents and spreads its work.

namespace kx::platform {

// The processors this process may run on (its affinity, as schedulers such as Slurm set it).
int processorCount();
bool standardErrorIsTerminal();

}  // namespace kx::platform
