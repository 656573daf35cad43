#pragma once
// Texts stored one byte a character (Excel 5.0/95 and older), in the workbook's code page.
#include <cstdint>
#include <string>
#include <string_view>

namespace kx::workbook::detail {

// The iconv name of a Windows code page number as CODEPAGE stores it (1252 when none is given).
std::string codePageName(uint16_t codePage);

// Decodes `bytes` from the code page; bytes that do not decode keep their Windows-1252 meaning,
// so a text never disappears for one wrong byte.
std::u16string decodeCodePage(std::string_view bytes, uint16_t codePage);

}  // namespace kx::workbook::detail
