#include "terminal_ui.h"

namespace kx::cli {

platform::MessageAnswer TerminalUserInterface::showMessage(const platform::Message& message)
{
    if (!message.title.empty())
        out_ << message.title << ": ";
    out_ << message.text << std::endl;
    return message.buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::No : platform::MessageAnswer::Ok;
}

}  // namespace kx::cli
