#include "platform/system_version.h"

#include <cerrno>
#include <cstdio>
#include <sys/utsname.h>
#include <system_error>

namespace kx::platform {

VersionRecord systemVersionRecord()
{
    struct utsname names {};
    if (::uname(&names) != 0)
        throw std::system_error(errno, std::generic_category(), "uname");
    VersionRecord record{kLinuxPlatform};
    // A release such as "6.1.0-18-amd64": only the leading numbers matter.
    std::sscanf(names.release, "%u.%u", &record.major, &record.minor);
    return record;
}

}  // namespace kx::platform
