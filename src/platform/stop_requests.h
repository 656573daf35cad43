#pragma once
// Requests to stop, as SIGINT (Ctrl-C) and SIGTERM (schedulers, kill) bring them.
#include <optional>

namespace kx::platform {

// From now on SIGINT and SIGTERM are counted instead of ending the program, and they interrupt
// a blocking wait so that the waiting code can look at the count.
void countStopRequests();
int stopRequestCount();
// The signal of the first request, if any came.
std::optional<int> firstStopSignal();

}  // namespace kx::platform
