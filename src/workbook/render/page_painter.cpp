#include "workbook/render/page_painter.h"

#include <algorithm>

#include "workbook/render/cell_painter.h"
#include "workbook/render/drawing_painter.h"
#include "workbook/layout/page_grid.h"
#include "workbook/canvas/pango_layout.h"
#include "workbook/canvas/hidden_glyphs.h"

namespace kx::workbook {
namespace {

constexpr double headingLineWidth = 0.25;
constexpr double edge = 2;  // points around the grid that its outer lines and borders may use
constexpr uint16_t defaultFont = 0;

void paintHeadingBox(cairo_t* cr, PangoLayout* layout, const std::string& label, const Box& box)
{
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_stroke(cr);
    pango_layout_set_text(layout, label.data(), static_cast<int>(label.size()));
    const auto [width, height] = logicalSize(layout);
    cairo_move_to(cr, box.x + (box.width - width) / 2, box.y + (box.height - height) / 2);
    showVisibleLayout(cr, layout);
}

// Row numbers left of the grid and column letters above it, in the workbook's default font.
void paintHeadings(cairo_t* cr, PangoLayout* layout, CellFonts& fonts, const PageGrid& grid, double width,
                   double height)
{
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, headingLineWidth);
    pango_layout_set_attributes(layout, nullptr);
    pango_layout_set_font_description(layout, fonts.description(defaultFont));
    for (const GridTrack& row : grid.rows)
        paintHeadingBox(cr, layout, std::to_string(row.index + 1), {-width, row.start, width, row.size});
    for (const GridTrack& column : grid.columns)
        paintHeadingBox(cr, layout, columnName(column.index), {column.start, -height, column.size, height});
    cairo_rectangle(cr, -width, -height, width, height);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace

std::string columnName(uint32_t column)
{
    std::string name;
    for (uint32_t n = column + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

GridPlacement gridPlacement(const SheetPrint& print, const PageGrid& grid)
{
    const PageSetup& setup = print.sheet.pageSetup;
    const PageFrame& frame = print.frame;
    const double scale = print.pagination.scale;
    const double headingWidth = print.pagination.headingWidth;
    const double headingHeight = print.pagination.headingHeight;
    const double usedWidth = (headingWidth + grid.width) * scale, usedHeight = (headingHeight + grid.height) * scale;
    const double left = frame.left + (setup.centerHorizontally ? std::max(0.0, (frame.contentWidth - usedWidth) / 2) : 0);
    const double top = frame.top + (setup.centerVertically ? std::max(0.0, (frame.contentHeight - usedHeight) / 2) : 0);
    return {left + headingWidth * scale, top + headingHeight * scale, scale};
}

void paintPage(cairo_t* cr, const Workbook& workbook, CellFonts& fonts, const SheetPrint& print, const SheetPage* page,
               const HeaderValues& values)
{
    const PageSetup& setup = print.sheet.pageSetup;
    const PageFrame& frame = print.frame;
    print.headerFooter.paint(cr, print.header, values, frame, false, print.pagination.scale);
    print.headerFooter.paint(cr, print.footer, values, frame, true, print.pagination.scale);
    if (!page)
        return;

    const PageGrid grid = pageGrid(print.sheet, print.metrics, *page);
    const double headingWidth = print.pagination.headingWidth;
    const double headingHeight = print.pagination.headingHeight;
    const GridPlacement placement = gridPlacement(print, grid);

    cairo_save(cr);
    cairo_translate(cr, placement.left, placement.top);
    cairo_scale(cr, placement.scale, placement.scale);
    LayoutPtr layout = makeLayout(cr);
    if (setup.headings)
        paintHeadings(cr, layout.get(), fonts, grid, headingWidth, headingHeight);
    // Lines on the grid's edge are drawn whole, not halved by the clip.
    cairo_rectangle(cr, -edge, -edge, grid.width + 2 * edge, grid.height + 2 * edge);
    cairo_clip(cr);
    CellPainter(cr, layout.get(), workbook, print.sheet, grid, print.metrics, fonts, print.digitWidth).paint(setup.gridlines);
    paintDrawings(cr, workbook, fonts, print.pictures, print.sheet, print.metrics, *page, grid);
    cairo_restore(cr);
}

}  // namespace kx::workbook
