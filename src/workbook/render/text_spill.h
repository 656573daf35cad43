#pragma once
// The cells each row's last text spills over, measured with the fonts the page prints in.
#include <vector>

#include "workbook/canvas/cell_fonts.h"
#include "workbook/layout/spill_ranges.h"

namespace kx::workbook {

// The cells each row's last text runs over, its own included, for the rows where it passes its own cell.
std::vector<CellRange> textSpills(const Workbook& workbook, const Sheet& sheet, const SheetMetrics& metrics,
                                  CellFonts& fonts);

}  // namespace kx::workbook
