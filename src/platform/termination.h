#pragma once
// Requests to end the program from outside (SIGTERM from a log-off or shutdown, SIGHUP, SIGINT),
// turned into something the event loop can act on, so that the program ends cleanly instead of
// wherever the signal happens to find it.
#include <sys/types.h>

namespace kx::platform {

// Installs the handlers and answers a descriptor that becomes readable once a request has come
// (-1 when none can be made, and the signals keep their default). While a child program is
// being waited for, a request is passed on to the child's process group at once, so that the
// wait ends.
int installTerminationRequests();

// Told by the process runner which process group it is waiting for (0: none).
void noteChildGroupBeingWaitedFor(pid_t group);

}  // namespace kx::platform
