#pragma once
// The colours of palette indexes 8 to 63 in a workbook that keeps no palette of its own.
#include <vector>

#include "workbook/model/model.h"

namespace kx::workbook::detail {

// The 56 colours of palette indexes 8..63 in a workbook without a PALETTE record.
std::vector<Color> defaultPalette();

}  // namespace kx::workbook::detail
