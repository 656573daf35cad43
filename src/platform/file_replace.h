#pragma once
// Whole-file replacement that never leaves a half-written file behind.
#include <string>
#include <string_view>

namespace kx::platform {

// Puts `content` at `path`: written to a new file in the same folder, flushed to disk, then
// renamed over the old one (whose permissions it takes), so that readers see either the old
// file or the new one, never a part. A symbolic link at `path` is kept and its target replaced.
// False, with the old file untouched, when any step fails.
bool replaceFileContent(const std::string& path, std::string_view content);

// Copies the ordinary file `from` to `to` the same way: into a staging file of a fresh name
// that this call alone creates beside `to` (so nothing planted there is written through),
// flushed, then renamed over `to`. An existing `to` keeps its permissions; a symbolic link
// at `to` is replaced by a plain file. False, with `to` as it was and no staging file left,
// when any step fails.
bool replaceFileWithCopy(const std::string& from, const std::string& to);

// Removes the staging files that process `processId` left beside `target` when it was ended
// before it finished replacing it.
void removeStagingFilesOf(const std::string& target, int processId);

}  // namespace kx::platform
