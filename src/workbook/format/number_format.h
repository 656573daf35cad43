#pragma once
// Display text of cell values under a number-format code, as the spreadsheet program shows
// them in the en-US locale.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "workbook/model/model.h"

namespace kx::workbook {

struct FormattedValue {
    std::string text;               // UTF-8, what the cell shows
    std::optional<Color> color;     // from a [Red]/[Color N] section prefix (Color N resolved with the default palette)
    std::optional<char32_t> fill;   // the character of a "*x" repeat, to be repeated to fill the cell width
    bool isDateOrTime = false;      // useful for alignment decisions
    std::size_t fillOffset = 0;     // byte offset in `text` where the repeated `fill` goes
};

// `generalMaxChars`: how many characters General may use (11 in a normal-width cell; the
// print engine may pass a column-width-derived value); General falls back to rounding/scientific short forms.
FormattedValue formatNumber(double value, std::string_view formatCode, bool dateSystem1904, int generalMaxChars = 11);
// Text in a cell under a format: the text section ("@" and literal parts) if the code has one, else the text itself.
FormattedValue formatText(std::string_view text, std::string_view formatCode);
bool isDateFormat(std::string_view formatCode);

}  // namespace kx::workbook
