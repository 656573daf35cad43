#pragma once
// Draws the cells of one page's grid: fills, gridlines, texts and borders, in that order so
// that borders lie over fills and gridlines. Coordinates are unscaled points from the grid's corner.
#include <cairo.h>
#include <pango/pango.h>

#include <vector>

#include "workbook/render/cell_decoration.h"
#include "workbook/canvas/cell_fonts.h"
#include "workbook/render/cell_text_painter.h"
#include "workbook/layout/page_grid.h"

namespace kx::workbook {

class CellPainter {
public:
    // layout: a pango layout made for cr, reused for every text; digitWidth in points.
    CellPainter(cairo_t* cr, PangoLayout* layout, const Workbook& workbook, const Sheet& sheet, const PageGrid& grid,
                const SheetMetrics& metrics, CellFonts& fonts, double digitWidth);

    void paint(bool gridlines);

private:
    struct PlacedCell {
        const Cell* cell = nullptr;  // nullptr: an empty cell drawn in its row's or column's format
        uint16_t format = 0;
        Box box;
        // Where the text is laid out: the box, or for a merged range the columns of the whole
        // range, and for a cell off the page the cell and the empty cells up to the page. The
        // text shows on the page only in the part of it the page holds.
        Box textBox;
        size_t rowSlot = 0, firstColumnSlot = 0, lastColumnSlot = 0;
        bool merged = false;  // text of a merged range stays inside it
        bool offPage = false; // left of the page, placed for the text it runs onto the page
    };

    void placeCells();
    void placeFormattedGaps(size_t rowSlot, const Row* row, const std::vector<bool>& stored);
    void placeTextFromLeft(size_t rowSlot, const Row& row);
    void placeMergedRanges();
    Box wholeRange(const CellRange& range, const Box& onPage, size_t firstSlot, size_t lastSlot) const;
    void paintGridlines(const std::vector<Box>& merged, const std::vector<Box>& spills);
    bool isFree(size_t rowSlot, long columnSlot) const;
    uint32_t centringEnd(uint32_t row, uint32_t column) const;
    Box centredAcross(const PlacedCell& placed) const;
    double pageRight() const;
    void keepToPage(TextPlan& plan, const Box& laidOut) const;
    CellFormat printedFormat(uint16_t index) const;
    Box overflowBox(const PlacedCell& placed, double textWidth, HorizontalAlign align) const;

    cairo_t* cr_;
    PangoLayout* layout_;
    const Workbook& workbook_;
    const Sheet& sheet_;
    const PageGrid& grid_;
    const SheetMetrics& metrics_;
    CellFonts& fonts_;
    double digitWidth_;
    std::vector<long> columnSlots_;            // per sheet column: its index in grid_.columns, or -1
    std::vector<std::vector<bool>> occupied_;  // per grid row and column: a value or a merged range is there
    std::vector<PlacedCell> cells_;
    std::vector<Box> mergedBoxes_;             // for leaving gridlines out of merged ranges
};

}  // namespace kx::workbook
