#pragma once
// The toolkit's own message boxes, file dialogs, busy pointer and desktop opener.
#include "platform/ui.h"

#include <QPointer>
#include <QWidget>

namespace kx::platform {

class QtUserInterface final : public UserInterface {
public:
    MessageAnswer showMessage(const Message& message) override;
    void showBusyPointer() override;
    void restoreDefaultPointer() override;
    std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
    bool openWithDesktop(const std::string& urlOrPath) override;

private:
    // The window showing the busy pointer: only it, so that message boxes keep the normal one.
    QPointer<QWidget> busyWindow_;
};

}  // namespace kx::platform
