#pragma once
// Replacing a file so that readers see either the old content or the whole new one.
#include <string>

namespace kx::platform {

// Copies `from` to a new file beside `to` and renames it over `to`; on any failure `to` is
// left as it was and nothing else stays behind. True on success.
bool replaceFileWithCopy(const std::string& from, const std::string& to);

}  // namespace kx::platform
