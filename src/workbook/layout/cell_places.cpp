#include "workbook/layout/cell_places.h"

#include <algorithm>

#include "workbook/format/cell_content.h"
#include "workbook/layout/spill_ranges.h"
#include "workbook/layout/used_range.h"

namespace kx::workbook {

CellPlaces::CellPlaces(const Workbook& workbook, const Sheet& sheet, const PageGrid& grid, const SheetMetrics& metrics)
    : workbook_(workbook), sheet_(sheet), grid_(grid), metrics_(metrics), columnSlots_(maxColumns, -1),
      occupied_(grid.rows.size(), std::vector<bool>(grid.columns.size(), false))
{
    for (size_t slot = 0; slot < grid.columns.size(); ++slot)
        columnSlots_[grid.columns[slot].index] = static_cast<long>(slot);
    placeMergedRanges();
    placeCells();
}

// A merged range shows its first cell over the part of the range that is on this page.
void CellPlaces::placeMergedRanges()
{
    for (size_t rowSlot = 0; rowSlot < grid_.rows.size(); ++rowSlot) {
        const uint32_t row = grid_.rows[rowSlot].index;
        for (const CellRange& range : sheet_.mergedRanges) {
            if (row < range.firstRow || row > range.lastRow)
                continue;
            long first = -1, last = -1;
            for (uint32_t column = range.firstColumn; column <= range.lastColumn && column < maxColumns; ++column)
                if (columnSlots_[column] >= 0) {
                    first = first < 0 ? columnSlots_[column] : first;
                    last = columnSlots_[column];
                }
            if (first < 0)
                continue;
            for (long slot = first; slot <= last; ++slot)
                occupied_[rowSlot][slot] = true;
            // The box is made once, on the range's first row this page shows.
            if (rowSlot > 0 && grid_.rows[rowSlot - 1].index >= range.firstRow)
                continue;
            double bottom = grid_.rows[rowSlot].start;
            for (size_t slot = rowSlot; slot < grid_.rows.size() && grid_.rows[slot].index <= range.lastRow; ++slot)
                bottom = grid_.rows[slot].start + grid_.rows[slot].size;
            const GridTrack& left = grid_.columns[first];
            const GridTrack& right = grid_.columns[last];
            const Box box{left.start, grid_.rows[rowSlot].start, right.start + right.size - left.start,
                          bottom - grid_.rows[rowSlot].start};
            mergedBoxes_.push_back(box);
            if (const Cell* anchor = sheet_.cell(range.firstRow, range.firstColumn))
                cells_.push_back({anchor, anchor->format, box,
                                  wholeRange(range, box, static_cast<size_t>(first), static_cast<size_t>(last)),
                                  rowSlot, static_cast<size_t>(first), static_cast<size_t>(last), true});
        }
    }
}

// The part of a merged range on this page widened by the columns of the range that other pages
// show. Rows are left as the page has them.
Box CellPlaces::wholeRange(const CellRange& range, const Box& onPage, size_t firstSlot, size_t lastSlot) const
{
    Box whole = onPage;
    for (uint32_t column = range.firstColumn; column < grid_.columns[firstSlot].index; ++column) {
        whole.x -= metrics_.columnWidth(column);
        whole.width += metrics_.columnWidth(column);
    }
    for (uint32_t column = grid_.columns[lastSlot].index + 1; column <= range.lastColumn && column < maxColumns; ++column)
        whole.width += metrics_.columnWidth(column);
    return whole;
}

void CellPlaces::placeCells()
{
    for (size_t rowSlot = 0; rowSlot < grid_.rows.size(); ++rowSlot) {
        const GridTrack& rowTrack = grid_.rows[rowSlot];
        const Row* row = sheet_.row(rowTrack.index);
        std::vector<bool> stored(grid_.columns.size(), false);
        static const std::vector<Cell> noCells;
        for (const Cell& cell : row ? row->cells : noCells) {
            const long slot = cell.column < maxColumns ? columnSlots_[cell.column] : -1;
            if (slot < 0 || occupied_[rowSlot][slot])
                continue;
            const GridTrack& column = grid_.columns[slot];
            const Box box{column.start, rowTrack.start, column.size, rowTrack.size};
            cells_.push_back({&cell, cell.format, box, box, rowSlot, static_cast<size_t>(slot), static_cast<size_t>(slot)});
            stored[slot] = true;
            if (cell.kind != CellKind::Blank)
                occupied_[rowSlot][slot] = true;
        }
        placeFormattedGaps(rowSlot, row, stored);
        if (row)
            placeTextFromLeft(rowSlot, *row);
    }
}

// Text of a cell left of the page that runs on over empty cells, or is centred across cells,
// into the page's first columns shows there as it would beside its cell. Print-title columns
// would stand in its way.
void CellPlaces::placeTextFromLeft(size_t rowSlot, const Row& row)
{
    if (grid_.columns.empty() || sheet_.pageSetup.titleColumns || occupied_[rowSlot][0])
        return;
    const uint32_t pageStart = grid_.columns[0].index;
    const auto source = std::find_if(row.cells.rbegin(), row.cells.rend(), [&](const Cell& cell) {
        return cell.column < pageStart && cell.kind != CellKind::Blank;
    });
    if (source == row.cells.rend())
        return;
    const bool spills = spillsRight(workbook_, *source);
    if (!spills && centringEnd(row.index, source->column) < pageStart)
        return;
    for (const CellRange& range : sheet_.mergedRanges)
        if (row.index >= range.firstRow && row.index <= range.lastRow && range.lastColumn >= source->column &&
            range.firstColumn < pageStart)
            return;
    double before = 0;  // from the cell's left edge to the page's
    for (uint32_t column = source->column; column < pageStart; ++column)
        before += metrics_.columnWidth(column);
    // Spilled text takes in the empty cells up to the page; centred text its cells from here on.
    const double width = spills ? before : metrics_.columnWidth(source->column);
    const GridTrack& rowTrack = grid_.rows[rowSlot];
    const double pageLeft = grid_.columns[0].start;
    cells_.push_back({&*source, source->format, {pageLeft, rowTrack.start, 0, rowTrack.size},
                      {pageLeft - before, rowTrack.start, width, rowTrack.size}, rowSlot, 0, 0, false, true});
}

// Cells the file does not store take the format of their row, else of their column: a row or
// column filled or bordered as a whole prints so.
void CellPlaces::placeFormattedGaps(size_t rowSlot, const Row* row, const std::vector<bool>& stored)
{
    const GridTrack& rowTrack = grid_.rows[rowSlot];
    for (size_t slot = 0; slot < grid_.columns.size(); ++slot) {
        if (stored[slot] || occupied_[rowSlot][slot])
            continue;
        const GridTrack& column = grid_.columns[slot];
        const ColumnInfo* info = sheet_.column(static_cast<uint16_t>(column.index));
        const std::optional<uint16_t> format = row && row->format ? row->format
                                               : info            ? std::optional<uint16_t>(info->format)
                                                                 : std::nullopt;
        const Box box{column.start, rowTrack.start, column.size, rowTrack.size};
        if (format && hasVisibleFormatting(workbook_, cellFormat(workbook_, *format)))
            cells_.push_back({nullptr, *format, box, box, rowSlot, slot, slot});
    }
}

bool CellPlaces::isFree(size_t rowSlot, long columnSlot) const
{
    return columnSlot >= 0 && columnSlot < static_cast<long>(grid_.columns.size()) && !occupied_[rowSlot][columnSlot];
}

Box CellPlaces::overflowBox(const PlacedCell& placed, double textWidth, HorizontalAlign align) const
{
    if (placed.merged)
        return placed.box;
    const Box& cell = placed.textBox;
    Box box = cell;
    const bool toLeft = align == HorizontalAlign::Right || align == HorizontalAlign::Center ||
                        align == HorizontalAlign::CenterAcross || align == HorizontalAlign::Distributed;
    const bool toRight = align != HorizontalAlign::Right;
    const double needed = toLeft && toRight ? (textWidth - cell.width) / 2 : textWidth - cell.width;
    if (toRight)
        for (long slot = placed.offPage ? 0 : static_cast<long>(placed.lastColumnSlot) + 1;
             box.x + box.width < cell.x + cell.width + needed && isFree(placed.rowSlot, slot); ++slot)
            box.width += grid_.columns[slot].size;
    if (toLeft)
        for (long slot = static_cast<long>(placed.firstColumnSlot) - 1;
             box.x > cell.x - needed && isFree(placed.rowSlot, slot); --slot) {
            box.x -= grid_.columns[slot].size;
            box.width += grid_.columns[slot].size;
        }
    return box;
}

// The last column a cell centred across the selection takes in: the empty cells to its right
// that are so formatted, whether this page shows them or not.
uint32_t CellPlaces::centringEnd(uint32_t row, uint32_t column) const
{
    const Cell* cell = sheet_.cell(row, static_cast<uint16_t>(column));
    if (!cell || cellFormat(workbook_, cell->format).horizontal != HorizontalAlign::CenterAcross)
        return column;
    for (uint32_t next = column + 1; next < maxColumns; ++next) {
        const Cell* following = sheet_.cell(row, static_cast<uint16_t>(next));
        if (!following || following->kind != CellKind::Blank ||
            cellFormat(workbook_, following->format).horizontal != HorizontalAlign::CenterAcross)
            return next - 1;
    }
    return maxColumns - 1;
}

Box CellPlaces::alignedBox(const PlacedCell& placed) const
{
    Box box = placed.textBox;
    if (placed.merged || placed.cell->kind == CellKind::Blank)
        return box;
    const uint32_t row = grid_.rows[placed.rowSlot].index;
    const uint32_t end = centringEnd(row, placed.cell->column);
    for (uint32_t column = placed.cell->column + 1; column <= end; ++column)
        box.width += metrics_.columnWidth(column);
    return box;
}

double CellPlaces::pageRight() const
{
    return grid_.columns.back().start + grid_.columns.back().size;
}

std::optional<Box> CellPlaces::keptToPage(const Box& clip, const Box& laidOut) const
{
    const double pageLeft = grid_.columns.front().start;
    const bool cutLeft = laidOut.x < pageLeft, cutRight = laidOut.x + laidOut.width > pageRight();
    if (!cutLeft && !cutRight)
        return std::nullopt;
    const double left = cutLeft ? std::max(clip.x, pageLeft) : clip.x;
    const double right = cutRight ? std::min(clip.x + clip.width, pageRight()) : clip.x + clip.width;
    return Box{left, clip.y, std::max(right - left, 0.0), clip.height};
}

}  // namespace kx::workbook
