#pragma once
// The running system's version record, in the shape of the Windows version record so that
// code choosing by system version needs one table for every platform.
#include <cstdint>

namespace kx::platform {

// Platform ids: the Windows values, then this platform's own beyond them.
inline constexpr std::uint32_t kWindows9xPlatform = 1;
inline constexpr std::uint32_t kWindowsNtPlatform = 2;
inline constexpr std::uint32_t kLinuxPlatform = 100;

struct VersionRecord {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// The kernel's version on the Linux platform id. Throws std::system_error when the system
// does not answer.
VersionRecord systemVersionRecord();

}  // namespace kx::platform
