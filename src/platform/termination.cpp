#include "platform/termination.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kx::platform {
namespace {

std::atomic<int> requestWriteEnd { -1 };
std::atomic<pid_t> childGroup { 0 };
std::atomic<bool> requested { false };

// Only async-signal-safe calls here.
void onTerminationRequest(int)
{
    const int savedErrno = errno;
    requested = true;
    if (const pid_t group = childGroup.load())
        ::kill(-group, SIGTERM);
    if (const int descriptor = requestWriteEnd.load(); descriptor >= 0) {
        const char request = 1;
        [[maybe_unused]] const ssize_t written = ::write(descriptor, &request, 1);
    }
    errno = savedErrno;
}

}  // namespace

int installTerminationRequests()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    requestWriteEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = onTerminationRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : { SIGTERM, SIGHUP, SIGINT })
        ::sigaction(signal, &action, nullptr);
    return ends[0];
}

void noteChildGroupBeingWaitedFor(pid_t group)
{
    childGroup = group;
    // A request that came while the child was being started found no group to stop.
    if (group != 0 && requested)
        ::kill(-group, SIGTERM);
}

}  // namespace kx::platform
