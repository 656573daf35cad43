#pragma once
// Text as the file stores it (UTF-16) turned into the UTF-8 that the model and pango hold.
#include <string>
#include <string_view>

namespace kx::workbook::detail {

// An unpaired half of a surrogate pair becomes U+FFFD; every other unit, NUL included, is kept.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace kx::workbook::detail
