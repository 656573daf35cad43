#pragma once
// A scripted stand-in for the toolkit's message boxes and file dialogs: it records every
// message and dialog request and answers from queues the test fills beforehand.
#include "platform/ui.h"

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kx::testing {

class FakeUserInterface final : public platform::UserInterface {
public:
    FakeUserInterface() { previous_ = platform::installUserInterface(this); }
    ~FakeUserInterface() override { platform::installUserInterface(previous_); }
    FakeUserInterface(const FakeUserInterface&) = delete;
    FakeUserInterface& operator=(const FakeUserInterface&) = delete;

    std::vector<platform::Message> messages;
    std::vector<platform::FileDialogRequest> openRequests;
    std::vector<platform::FileDialogRequest> saveRequests;
    std::vector<std::string> opened;
    int busyPointers = 0;
    bool failMessages = false;  // every message box fails to show

    // Answers for Yes/No questions, in order; when empty, No.
    std::deque<platform::MessageAnswer> answers;
    // Choices for the open and save dialogs, in order; nothing means the user cancelled.
    std::deque<std::optional<std::string>> openChoices;
    std::deque<std::optional<std::string>> saveChoices;

    platform::MessageAnswer showMessage(const platform::Message& message) override
    {
        if (failMessages)
            throw std::runtime_error("The message box could not be shown");
        messages.push_back(message);
        if (message.buttons != platform::MessageButtons::YesNo)
            return platform::MessageAnswer::Ok;
        return next(answers, platform::MessageAnswer::No);
    }
    void showBusyPointer() override { ++busyPointers; }
    void restoreDefaultPointer() override { busyPointers = 0; }
    std::optional<std::string> chooseFileToOpen(const platform::FileDialogRequest& request) override
    {
        openRequests.push_back(request);
        return next(openChoices, std::optional<std::string>());
    }
    std::optional<std::string> chooseFileToSave(const platform::FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return next(saveChoices, std::optional<std::string>());
    }
    bool openWithDesktop(const std::string& urlOrPath) override
    {
        opened.push_back(urlOrPath);
        return false;
    }

private:
    template <typename T>
    static T next(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T front = queue.front();
        queue.pop_front();
        return front;
    }

    platform::UserInterface* previous_ = nullptr;
};

}  // namespace kx::testing
