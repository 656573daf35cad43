#include "platform/ui.h"

namespace kx::platform {
namespace {

class SilentUserInterface final : public UserInterface {
public:
    MessageAnswer showMessage(const Message& message) override
    {
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    void showBusyPointer() override {}
    void restoreDefaultPointer() override {}
    std::optional<std::string> chooseFileToOpen(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFileToSave(const FileDialogRequest&) override { return {}; }
    bool openWithDesktop(const std::string&) override { return false; }
};

SilentUserInterface silent;
UserInterface* current = &silent;

}  // namespace

UserInterface& ui() { return *current; }

UserInterface* installUserInterface(UserInterface* implementation)
{
    UserInterface* previous = current;
    current = implementation ? implementation : &silent;
    return previous == &silent ? nullptr : previous;
}

}  // namespace kx::platform
