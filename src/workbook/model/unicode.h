#pragma once
// Text as the file stores it (UTF-16) turned into the UTF-8 that the model and pango hold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kx::workbook::detail {

// An unpaired half of a surrogate pair becomes U+FFFD; every other unit, NUL included, is kept.
std::string utf16ToUtf8(std::u16string_view text);

// The byte offset in UTF-8 text of a position counted in UTF-16 code units (the file's
// character positions); the text's length when the position lies beyond it.
size_t utf8OffsetOfUtf16(const std::string& text, uint32_t utf16Units);

}  // namespace kx::workbook::detail
