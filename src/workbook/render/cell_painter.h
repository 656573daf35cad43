#pragma once
// Draws the cells of one page's grid where CellPlaces puts them: fills, data bars, gridlines,
// texts and borders, in that order so that borders lie over fills and gridlines. Coordinates are unscaled points from the grid's corner.
#include <cairo.h>
#include <pango/pango.h>

#include <vector>

#include "workbook/render/cell_decoration.h"
#include "workbook/canvas/cell_fonts.h"
#include "workbook/render/cell_text_painter.h"
#include "workbook/layout/cell_places.h"
#include "workbook/layout/page_grid.h"

namespace kx::workbook {

class CellPainter {
public:
    // layout: a pango layout made for cr, reused for every text; digitWidth in points.
    CellPainter(cairo_t* cr, PangoLayout* layout, const Workbook& workbook, const Sheet& sheet, const PageGrid& grid,
                const SheetMetrics& metrics, CellFonts& fonts, double digitWidth);

    void paint(bool gridlines);

private:
    void paintDataBars();
    void paintGridlines(const std::vector<Box>& merged, const std::vector<Box>& spills);
    CellFormat printedFormat(uint16_t index) const;

    cairo_t* cr_;
    PangoLayout* layout_;
    const Workbook& workbook_;
    const Sheet& sheet_;
    const PageGrid& grid_;
    CellFonts& fonts_;
    double digitWidth_;
    CellPlaces places_;
};

}  // namespace kx::workbook
