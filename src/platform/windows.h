#pragma once
// The desktop's top-level windows of other programs, found by their titles. Start-up uses them
// to hand over to a copy that is already running. Until a real implementation is installed,
// no window is ever found, so code that runs without a display behaves as if alone.
#include <cstdint>
#include <string>

namespace kx::platform {

using WindowId = std::uint32_t;  // 0 means "no window"

class TopLevelWindows {
public:
    virtual ~TopLevelWindows() = default;
    // The first top-level window whose title is exactly `title`, or 0.
    virtual WindowId findByTitle(const std::string& title) = 0;
    virtual bool isMinimised(WindowId window) = 0;
    virtual void restore(WindowId window) = 0;
    virtual void bringToForeground(WindowId window) = 0;
    // Raises the window titled exactly `title`, else the first whose title begins with it;
    // false when there is none.
    virtual bool activateByTitle(const std::string& title) = 0;
};

TopLevelWindows& topLevelWindows();
// Installs `implementation` (not owned) and returns the previous one; nullptr restores the default.
TopLevelWindows* installTopLevelWindows(TopLevelWindows* implementation);

}  // namespace kx::platform
