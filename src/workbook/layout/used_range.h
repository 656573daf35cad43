#pragma once
// Which cells of a sheet put ink on paper: those with a value, and blank cells with borders or a fill that shows.
#include <optional>
#include <vector>

#include "workbook/model/model.h"

namespace kx::workbook {

// Whether an empty cell in this format still puts ink on paper: a border, or a fill of a colour
// other than the paper's white. Printed in black and white, fills leave nothing.
bool hasVisibleFormatting(const Workbook& workbook, const CellFormat& format, bool blackAndWhite = false);

// Every cell that prints, in no particular order. Print titles count only where they stand; a
// page that would show nothing but them is left out.
std::vector<CellRef> printableCells(const Workbook& workbook, const Sheet& sheet);

// The merged ranges whose first cell prints: the whole range prints, every page it crosses too.
std::vector<CellRange> printableMergedRanges(const Workbook& workbook, const Sheet& sheet);

// The smallest range holding all the cells and areas; nothing when there are none.
std::optional<CellRange> boundingRange(const std::vector<CellRef>& cells, const std::vector<CellRange>& areas = {});

}  // namespace kx::workbook
