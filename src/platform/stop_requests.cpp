#include "platform/stop_requests.h"

#include <csignal>

namespace kx::platform {
namespace {

volatile std::sig_atomic_t requests = 0;
volatile std::sig_atomic_t firstSignal = 0;

void countRequest(int signal)
{
    if (requests == 0)
        firstSignal = signal;
    requests = requests + 1;
}

}  // namespace

void countStopRequests()
{
    struct sigaction action {};
    action.sa_handler = countRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a wait returns early to look at the count
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int stopRequestCount()
{
    return requests;
}

std::optional<int> firstStopSignal()
{
    if (requests == 0)
        return std::nullopt;
    return static_cast<int>(firstSignal);
}

}  // namespace kx::platform
