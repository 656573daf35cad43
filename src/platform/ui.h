#pragma once
// The user-facing toolkit services that program logic needs without knowing the toolkit:
// modal message boxes, the busy pointer, file dialogs and the desktop's opener.
// The desktop program installs the Qt implementation at start; tests install a scripted fake.
#include <optional>
#include <string>

namespace kx::platform {

enum class MessageIcon { None, Information, Critical, Question, Exclamation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

struct FileDialogRequest {
    std::string title;
    std::string filter;          // e.g. "Excel Files (*.xls)"
    std::string initialFolder;
    std::string initialName;
    bool confirmOverwrite = false;  // save dialogs only
};

class UserInterface {
public:
    virtual ~UserInterface() = default;
    virtual MessageAnswer showMessage(const Message& message) = 0;
    virtual void showBusyPointer() = 0;
    virtual void restoreDefaultPointer() = 0;
    // Each returns the chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) = 0;
    // Opens a web address or a local file with the desktop's default handler.
    virtual bool openWithDesktop(const std::string& urlOrPath) = 0;
};

// The process-wide instance. Until one is installed, a silent implementation answers
// every question with its default (Ok / No / cancelled), so that headless code never blocks.
UserInterface& ui();
// Installs `implementation` (not owned) and returns the previous one; nullptr restores the silent one.
UserInterface* installUserInterface(UserInterface* implementation);

// The caption of every message box that names no title of its own.
inline constexpr const char* kApplicationTitle = "Korvendal XL";

}  // namespace kx::platform
