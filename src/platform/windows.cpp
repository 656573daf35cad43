#include "platform/windows.h"

namespace kx::platform {
namespace {

class NoWindows final : public TopLevelWindows {
public:
    WindowId findByTitle(const std::string&) override { return 0; }
    bool isMinimised(WindowId) override { return false; }
    void restore(WindowId) override {}
    void bringToForeground(WindowId) override {}
    bool activateByTitle(const std::string&) override { return false; }
};

NoWindows none;
TopLevelWindows* current = &none;

}  // namespace

TopLevelWindows& topLevelWindows() { return *current; }

TopLevelWindows* installTopLevelWindows(TopLevelWindows* implementation)
{
    TopLevelWindows* previous = current;
    current = implementation ? implementation : &none;
    return previous == &none ? nullptr : previous;
}

}  // namespace kx::platform
