#pragma once
// Replacing a file so that readers see either the old content or the whole new one.
#include <string>

namespace kx::platform {

// Copies `from` to a new file beside `to` and renames it over `to`; on any failure `to` is
// left as it was and nothing else stays behind. True on success.
bool replaceFileWithCopy(const std::string& from, const std::string& to);

// The file beside `to` that process `processId` fills while it replaces `to`; a process ended
// before it finished leaves it behind.
std::string stagingFileFor(const std::string& to, int processId);

}  // namespace kx::platform
