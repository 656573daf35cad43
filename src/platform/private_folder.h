#pragma once
// A folder only this process uses, in the system's folder for temporary files.
#include <optional>
#include <string>

namespace kx::platform {

// Creates a new folder named after `prefix` that no other process was given; nothing on failure.
std::optional<std::string> createPrivateFolder(const std::string& prefix);
// Removes the folder and everything in it; true when nothing is left.
bool removeFolderTree(const std::string& folder);

}  // namespace kx::platform
