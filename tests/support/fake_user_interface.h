#pragma once
// A scripted stand-in for the toolkit's message boxes, busy pointer, file dialogs and desktop
// opener. It records every request and answers from queues the test fills beforehand.
// Constructing it installs it as the process-wide instance until the object goes away.
#include "platform/ui.h"

#include <deque>
#include <functional>
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

    // Every message box asked for, in order (also those that then fail to show).
    std::vector<platform::Message> messages;
    // Answers for Yes/No questions, in order; when empty, No. Other boxes answer Ok.
    std::deque<platform::MessageAnswer> answers;
    bool failMessages = false;  // every message box throws after being recorded
    // Called with each message box as it comes up, to note what else holds at that moment.
    std::function<void(const platform::Message&)> onMessage;

    bool busy = false;                       // whether the busy pointer is up
    std::vector<std::string> pointerEvents;  // "busy" and "default", in order

    std::vector<platform::FileDialogRequest> openRequests;
    std::vector<platform::FileDialogRequest> saveRequests;
    // Choices for the open and save dialogs, in order; nothing (or an empty queue) means cancel.
    std::deque<std::optional<std::string>> openChoices;
    std::deque<std::optional<std::string>> saveChoices;

    std::vector<std::string> opened;  // every address or file handed to the desktop
    bool desktopOpens = true;         // what openWithDesktop reports

    platform::MessageAnswer showMessage(const platform::Message& message) override
    {
        messages.push_back(message);
        if (onMessage)
            onMessage(message);
        if (failMessages)
            throw std::runtime_error("The message box could not be shown");
        if (message.buttons != platform::MessageButtons::YesNo)
            return platform::MessageAnswer::Ok;
        return next(answers, platform::MessageAnswer::No);
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
        return desktopOpens;
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
