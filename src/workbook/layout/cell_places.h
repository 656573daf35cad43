#pragma once
// Where the cells of one page's grid go, before anything is drawn: the box of every cell that
// prints, the box its text is laid out in (a merged range, cells centred across, cells left of
// the page that its text runs onto), how far text wider than its cell may reach over empty
// neighbours, and where the page's edges cut it. Coordinates are unscaled points from the grid's corner.
#include <cstddef>
#include <optional>
#include <vector>

#include "workbook/layout/page_grid.h"
#include "workbook/model/geometry.h"

namespace kx::workbook {

struct PlacedCell {
    const Cell* cell = nullptr;  // nullptr: an empty cell drawn in its row's or column's format
    uint16_t format = 0;
    Box box;
    // Where the text is laid out: the box, or for a merged range the columns of the whole
    // range, and for a cell off the page the cell and the empty cells up to the page. The
    // text shows on the page only in the part of it the page holds.
    Box textBox;
    size_t rowSlot = 0, firstColumnSlot = 0, lastColumnSlot = 0;
    bool merged = false;   // text of a merged range stays inside it
    bool offPage = false;  // left of the page, placed for the text it runs onto the page
};

class CellPlaces {
public:
    CellPlaces(const Workbook& workbook, const Sheet& sheet, const PageGrid& grid, const SheetMetrics& metrics);

    // Merged ranges first, then row by row the cells the file stores, the empty cells their row
    // or column formats, and the text running onto the page from its left.
    const std::vector<PlacedCell>& cells() const { return cells_; }
    // The part of each merged range this page shows, where gridlines stay out.
    const std::vector<Box>& mergedBoxes() const { return mergedBoxes_; }
    // The box the cell's text is aligned in: its text box widened by the cells it is centred across.
    Box alignedBox(const PlacedCell& placed) const;
    // Text wider than its cell spreads into empty neighbours: to the right when left-aligned, to
    // the left when right-aligned, to both sides when centred, and stops where a neighbour is in use.
    Box overflowBox(const PlacedCell& placed, double textWidth, HorizontalAlign align) const;
    // The clip cut to the page, for text laid out over cells that run past the page's edges;
    // nothing when the page holds all of them.
    std::optional<Box> keptToPage(const Box& clip, const Box& laidOut) const;
    double pageRight() const;

private:
    void placeCells();
    void placeFormattedGaps(size_t rowSlot, const Row* row, const std::vector<bool>& stored);
    void placeTextFromLeft(size_t rowSlot, const Row& row);
    void placeMergedRanges();
    Box wholeRange(const CellRange& range, const Box& onPage, size_t firstSlot, size_t lastSlot) const;
    bool isFree(size_t rowSlot, long columnSlot) const;
    uint32_t centringEnd(uint32_t row, uint32_t column) const;

    const Workbook& workbook_;
    const Sheet& sheet_;
    const PageGrid& grid_;
    const SheetMetrics& metrics_;
    std::vector<long> columnSlots_;            // per sheet column: its index in grid_.columns, or -1
    std::vector<std::vector<bool>> occupied_;  // per grid row and column: a value or a merged range is there
    std::vector<PlacedCell> cells_;
    std::vector<Box> mergedBoxes_;
};

}  // namespace kx::workbook
