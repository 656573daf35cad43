#pragma once
// A number-format code split into sections and tokens.
#include <string_view>
#include <vector>

#include "workbook/format/format_section.h"

namespace kx::workbook {

// Never fails: what the spreadsheet program would reject is shown as literal text.
std::vector<Section> parseFormatCode(std::string_view code);

}  // namespace kx::workbook
