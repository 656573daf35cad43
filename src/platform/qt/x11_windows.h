#pragma once
// Top-level windows of the X11 desktop, found through the window manager's client list
// (EWMH) or, without a window manager, the root window's children.
#include "platform/windows.h"

#include <memory>
#include <utility>
#include <vector>

namespace kx::platform {

class X11TopLevelWindows final : public TopLevelWindows {
public:
    // Connects to the display named by DISPLAY; without one, no window is ever found.
    X11TopLevelWindows();
    ~X11TopLevelWindows() override;
    X11TopLevelWindows(const X11TopLevelWindows&) = delete;
    X11TopLevelWindows& operator=(const X11TopLevelWindows&) = delete;

    WindowId findByTitle(const std::string& title) override;
    bool isMinimised(WindowId window) override;
    void restore(WindowId window) override;
    void bringToForeground(WindowId window) override;
    bool activateByTitle(const std::string& title) override;

private:
    struct Connection;
    std::vector<std::pair<WindowId, std::string>> titledWindows();
    std::unique_ptr<Connection> connection_;
};

}  // namespace kx::platform
