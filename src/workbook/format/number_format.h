#pragma once
// Display text of cell values under a number-format code, as the spreadsheet program shows
// them in the en-US locale.
#include <string_view>

#include "workbook/format/formatted_value.h"

namespace kx::workbook {

// `generalMaxChars`: how many characters General may use (11 in a normal-width cell; the
// print engine may pass a column-width-derived value); General falls back to rounding/scientific short forms.
FormattedValue formatNumber(double value, std::string_view formatCode, bool dateSystem1904, int generalMaxChars = 11);
// Text in a cell under a format: the text section ("@" and literal parts) if the code has one, else the text itself.
FormattedValue formatText(std::string_view text, std::string_view formatCode);
bool isDateFormat(std::string_view formatCode);

}  // namespace kx::workbook
