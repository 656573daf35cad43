#pragma once
// A UserInterface for tests: records every message box and pointer change, answers message
// boxes from a script (Ok / No when the script runs out) and file dialogs from queued paths.
// Installing it makes it the process-wide instance until the object goes away.
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace kx::testing {

class RecordingUserInterface final : public platform::UserInterface {
public:
    RecordingUserInterface() { previous_ = platform::installUserInterface(this); }
    ~RecordingUserInterface() override { platform::installUserInterface(previous_); }
    RecordingUserInterface(const RecordingUserInterface&) = delete;
    RecordingUserInterface& operator=(const RecordingUserInterface&) = delete;

    platform::MessageAnswer showMessage(const platform::Message& message) override
    {
        messages.push_back(message);
        if (throwOnMessage)
            throw std::runtime_error("message box failed");
        if (!answers.empty()) {
            const platform::MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return message.buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::No
                                                                  : platform::MessageAnswer::Ok;
    }
    void showBusyPointer() override
    {
        busy = true;
        pointerEvents.push_back("busy");
    }
    void restoreDefaultPointer() override
    {
        busy = false;
        pointerEvents.push_back("default");
    }
    std::optional<std::string> chooseFileToOpen(const platform::FileDialogRequest& request) override
    {
        return answerDialog(request);
    }
    std::optional<std::string> chooseFileToSave(const platform::FileDialogRequest& request) override
    {
        return answerDialog(request);
    }
    bool openWithDesktop(const std::string& urlOrPath) override
    {
        opened.push_back(urlOrPath);
        return true;
    }

    std::vector<platform::Message> messages;
    std::deque<platform::MessageAnswer> answers;
    bool throwOnMessage = false;
    bool busy = false;
    std::vector<std::string> pointerEvents;
    std::vector<platform::FileDialogRequest> dialogs;
    std::deque<std::optional<std::string>> dialogAnswers;  // empty: the user cancels
    std::vector<std::string> opened;

private:
    std::optional<std::string> answerDialog(const platform::FileDialogRequest& request)
    {
        dialogs.push_back(request);
        if (dialogAnswers.empty())
            return std::nullopt;
        std::optional<std::string> answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        return answer;
    }

    platform::UserInterface* previous_ = nullptr;
};

}  // namespace kx::testing
