#pragma once
// The pictures and text boxes that float over a page's cells.
#include <cairo.h>

#include "workbook/render/cell_decoration.h"
#include "workbook/canvas/cell_fonts.h"
#include "workbook/layout/page_grid.h"
#include "workbook/pictures/picture_decoding.h"

namespace kx::workbook {

// Draws, in the unscaled points of the grid, the parts of the sheet's drawings that fall on
// the page's cells, over what is already there.
void paintDrawings(cairo_t* cr, const Workbook& workbook, CellFonts& fonts, DecodedPictures& pictures,
                   const Sheet& sheet, const SheetMetrics& metrics, const SheetPage& page, const PageGrid& grid);

// Draws a text box with its fill and outline into the box, in points.
void paintTextBox(cairo_t* cr, CellFonts& fonts, const Drawing& drawing, const Box& box);

}  // namespace kx::workbook
