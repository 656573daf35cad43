#pragma once
// The process environment, read only.
#include <optional>
#include <string>

namespace kx::platform {

// The variable's value, or nothing when it is not set.
std::optional<std::string> environmentVariable(const std::string& name);

// The user's home folder: $HOME when it is an absolute path, else the one the user database
// names, else "/". Never a relative path, so that nothing lands in the current folder.
std::string homeFolder();

}  // namespace kx::platform
