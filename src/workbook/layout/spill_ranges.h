#pragma once
// How far text reaches to the right of the last cell of each row: the print takes in the columns
// it spills into, as the spreadsheet program does, so that a long title in A1 prints whole.
#include <functional>
#include <vector>

#include "workbook/format/cell_content.h"
#include "workbook/layout/sheet_metrics.h"

namespace kx::workbook {

// Whether a cell's text runs on over empty cells to its right when wider than the cell.
bool spillsRight(const Workbook& workbook, const Cell& cell);

// The printed width of a cell's text in points, as measured by whoever prints it.
using TextWidth = std::function<double(const CellFormat& format, const CellContent& content)>;

// The cells each row's last text runs over, its own included, for the rows where it passes its own cell.
std::vector<CellRange> spillRanges(const Workbook& workbook, const Sheet& sheet, const SheetMetrics& metrics,
                                   const TextWidth& widthOf);

}  // namespace kx::workbook
