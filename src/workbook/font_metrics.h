#pragma once
// Measurements of fonts that the layout of a sheet depends on.
#include "workbook/model.h"

namespace kx::workbook {

// The width in whole screen pixels (96 dpi) of the widest digit 0-9 in the font, through the
// font that fontconfig picks for its name. Cached per name and size; safe to call from any thread.
int maxDigitWidthPixels(const Font& font);

}  // namespace kx::workbook
