#pragma once
// One printed page of a sheet: header, footer, headings and the cells of its grid.
#include <cairo.h>

#include "workbook/canvas/cell_fonts.h"
#include "workbook/layout/header_footer.h"
#include "workbook/render/header_footer_painter.h"
#include "workbook/layout/page_geometry.h"
#include "workbook/layout/page_grid.h"
#include "workbook/layout/pagination.h"
#include "workbook/pictures/picture_decoding.h"

namespace kx::workbook {

struct SheetPrint {
    const Sheet& sheet;
    const SheetMetrics& metrics;
    const SheetPagination& pagination;
    PageFrame frame;
    HeaderSections header, footer;
    double digitWidth = 5.25;  // points
    DecodedPictures& pictures;  // shared by every sheet of the print
    HeaderFooterPainter& headerFooter;  // shared too
};

// Where a page's cell grid lies on the paper: its top-left corner in points and its scale.
struct GridPlacement {
    double left = 0, top = 0, scale = 1;
};
GridPlacement gridPlacement(const SheetPrint& print, const PageGrid& grid);

// Header and footer, then the page's cells; only header and footer without a page.
void paintPage(cairo_t* cr, const Workbook& workbook, CellFonts& fonts, const SheetPrint& print, const SheetPage* page,
               const HeaderValues& values);

// A, B, ... Z, AA, AB ... as the column headings show them.
std::string columnName(uint32_t column);

}  // namespace kx::workbook
