#pragma once
// The user interface of the command-line converter: messages are printed, questions get their
// default answer, and nothing is ever opened or chosen interactively.
#include <ostream>

#include "platform/ui.h"

namespace kx::cli {

class TerminalUserInterface final : public platform::UserInterface {
public:
    explicit TerminalUserInterface(std::ostream& out) : out_(out) {}

    platform::MessageAnswer showMessage(const platform::Message& message) override;
    void showBusyPointer() override {}
    void restoreDefaultPointer() override {}
    std::optional<std::string> chooseFileToOpen(const platform::FileDialogRequest&) override { return {}; }
    std::optional<std::string> chooseFileToSave(const platform::FileDialogRequest&) override { return {}; }
    bool openWithDesktop(const std::string&) override { return false; }

private:
    std::ostream& out_;
};

}  // namespace kx::cli
