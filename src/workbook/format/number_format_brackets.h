#pragma once
// What a "[...]" in a format code stands for.
#include <optional>
#include <string_view>

#include "workbook/format/number_format_code.h"

namespace kx::workbook {

// Applies `content` (without the brackets) to `section`: a colour or condition for the
// section, or a token (elapsed time, currency symbol). Unknown contents are ignored, as the
// spreadsheet program ignores locale and calendar switches it does not need.
void applyBracket(std::string_view content, Section& section);

}  // namespace kx::workbook
