#pragma once
// The folders one run of the desktop program uses, as config::chooseProgramLayout places them.
#include "config/program_layout.h"
#include "platform/held_folder.h"

#include <optional>
#include <string>

namespace kx::startup {

class RunFolders {
public:
    // Points the settings store at the layout's folders. An installed program also gives a new
    // user the machine's default settings file and takes a workspace that no other running
    // copy uses, under the layout's workspace folder or else in the temporary folder.
    explicit RunFolders(const config::ProgramLayout& layout);

    const std::string& filesFolder() const { return layout_.filesFolder; }
    const std::string& workspace() const { return workspace_; }

private:
    config::ProgramLayout layout_;
    std::optional<platform::HeldFolder> held_;
    std::string workspace_;
};

}  // namespace kx::startup
