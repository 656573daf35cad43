#pragma once
// File-system facts and operations, each reporting failure as a value rather than throwing.
#include <cstddef>
#include <optional>
#include <string>

namespace kx::platform {

// True when an ordinary file (not a folder, not hidden: its name does not begin with ".") is at `path`.
bool ordinaryFileExists(const std::string& path);
// True when anything that is not hidden stands at `path` (file or folder).
bool visibleEntryExists(const std::string& path);
bool folderExists(const std::string& path);
// True when this user may create files in the folder.
bool folderWritable(const std::string& path);
// Creates the folder and its parents when missing; true when it exists afterwards.
bool ensureFolder(const std::string& path);
// Removes a file if present; true when no file is there afterwards.
bool removeFile(const std::string& path);
// Copies `from` over `to`, replacing it; true on success.
bool copyFileOver(const std::string& from, const std::string& to);
// The whole content of an ordinary file, or nothing when it cannot be read or exceeds `maxBytes`.
std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes);

// The folder holding the running program's executable, without a trailing "/".
std::string programFolder();
// `folder` and `name` joined with "/".
std::string joinPath(const std::string& folder, const std::string& name);
// The text after the last "/" (the whole text when there is none).
std::string fileNameOf(const std::string& path);

}  // namespace kx::platform
