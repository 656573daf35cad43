#pragma once
// The toolkit's own message boxes, file dialogs, busy pointer and desktop opener.
#include "platform/ui.h"

namespace kx::platform {

class QtUserInterface final : public UserInterface {
public:
    MessageAnswer showMessage(const Message& message) override;
    void showBusyPointer() override;
    void restoreDefaultPointer() override;
    std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
    bool openWithDesktop(const std::string& urlOrPath) override;
};

}  // namespace kx::platform
