#pragma once
// The process environment, read only.
#include <optional>
#include <string>

namespace kx::platform {

// The variable's value, or nothing when it is not set.
std::optional<std::string> environmentVariable(const std::string& name);

}  // namespace kx::platform
