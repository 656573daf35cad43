#include "platform/machine.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

namespace kx::platform {

int processorsInQuota(const std::string& cpuMax)
{
    std::istringstream limit(cpuMax);
    std::string quota;
    long period = 0;
    long allowed = 0;
    if (!(limit >> quota >> period) || period <= 0
        || std::from_chars(quota.data(), quota.data() + quota.size(), allowed).ec != std::errc() || allowed <= 0)
        return 0;
    return static_cast<int>(std::max<long>(1, (allowed + period - 1) / period));
}

int processorCount()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 0)
        count = CPU_COUNT(&allowed);
    std::ostringstream quota;
    quota << std::ifstream("/sys/fs/cgroup/cpu.max").rdbuf();
    if (const int byQuota = processorsInQuota(quota.str()); byQuota > 0)
        count = std::min<long>(count, byQuota);
    return count > 0 ? static_cast<int>(count) : 1;
}

bool standardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace kx::platform
