#pragma once
// Where drawings fall: the cells they cover, for the used range, and their rectangle on a page,
// through the same row heights and column widths as the cells.
#include <vector>

#include "workbook/model/geometry.h"
#include "workbook/layout/page_grid.h"

namespace kx::workbook {

// The cells under each of the sheet's drawings, so that every page a drawing crosses prints.
// A corner that lies on the very edge of a cell does not take that cell in.
std::vector<CellRange> drawingAreas(const Sheet& sheet);

// The drawing's rectangle in the unscaled points of the page's grid, measured from the page's
// own band of rows and columns; it may reach beyond the grid on any side.
Box drawingBox(const DrawingAnchor& anchor, const SheetMetrics& metrics, const SheetPage& page,
               const PageGrid& grid);

// The part of an anchored box that a shape inside a group takes.
Box shareOf(const Box& box, const DrawingShare& share);

}  // namespace kx::workbook
