#pragma once
// How far text reaches to the right of the last cell of each row: the print takes in the columns
// it spills into, as the spreadsheet program does, so that a long title in A1 prints whole.
#include <vector>

#include "workbook/canvas/cell_fonts.h"
#include "workbook/layout/sheet_metrics.h"

namespace kx::workbook {

// Whether a cell's text runs on over empty cells to its right when wider than the cell.
bool spillsRight(const Workbook& workbook, const Cell& cell);

// The cells each row's last text runs over, its own included, for the rows where it passes its own cell.
std::vector<CellRange> textSpills(const Workbook& workbook, const Sheet& sheet, const SheetMetrics& metrics,
                                  CellFonts& fonts);

}  // namespace kx::workbook
