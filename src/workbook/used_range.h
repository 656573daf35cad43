#pragma once
// Which cells of a sheet put ink on paper: those with a value, and blank cells with borders or a fill.
#include <optional>
#include <vector>

#include "workbook/model.h"

namespace kx::workbook {

bool hasVisibleFormatting(const CellFormat& format);

// Every cell that prints, in no particular order; a merged range counts with all its corners
// when its first cell prints, so that the range is never cut off by the used range.
std::vector<CellRef> printableCells(const Workbook& workbook, const Sheet& sheet);

// The smallest range holding all the cells; nothing when there are none.
std::optional<CellRange> boundingRange(const std::vector<CellRef>& cells);

}  // namespace kx::workbook
