#include "workbook/render/cell_painter.h"

#include <algorithm>

#include "workbook/render/cell_text_painter.h"
#include "workbook/render/text_spill.h"
#include "workbook/layout/used_range.h"

namespace kx::workbook {
namespace {

constexpr double gridlineWidth = 0.25;

}  // namespace

CellPainter::CellPainter(cairo_t* cr, PangoLayout* layout, const Workbook& workbook, const Sheet& sheet,
                         const PageGrid& grid, const SheetMetrics& metrics, CellFonts& fonts, double digitWidth)
    : cr_(cr), layout_(layout), workbook_(workbook), sheet_(sheet), grid_(grid), metrics_(metrics), fonts_(fonts),
      digitWidth_(digitWidth), columnSlots_(maxColumns, -1),
      occupied_(grid.rows.size(), std::vector<bool>(grid.columns.size(), false))
{
    for (size_t slot = 0; slot < grid.columns.size(); ++slot)
        columnSlots_[grid.columns[slot].index] = static_cast<long>(slot);
    placeMergedRanges();
    placeCells();
}

// A merged range shows its first cell over the part of the range that is on this page.
void CellPainter::placeMergedRanges()
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
Box CellPainter::wholeRange(const CellRange& range, const Box& onPage, size_t firstSlot, size_t lastSlot) const
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

void CellPainter::placeCells()
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
void CellPainter::placeTextFromLeft(size_t rowSlot, const Row& row)
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
void CellPainter::placeFormattedGaps(size_t rowSlot, const Row* row, const std::vector<bool>& stored)
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

bool CellPainter::isFree(size_t rowSlot, long columnSlot) const
{
    return columnSlot >= 0 && columnSlot < static_cast<long>(grid_.columns.size()) && !occupied_[rowSlot][columnSlot];
}

// Text wider than its cell spreads into empty neighbours: to the right when left-aligned, to
// the left when right-aligned, to both sides when centred, and is clipped where a neighbour is in use.
Box CellPainter::overflowBox(const PlacedCell& placed, double textWidth, HorizontalAlign align) const
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

namespace {

constexpr double epsilon = 1e-6;

// Whether a hole hides the vertical gridline at x beside the given row.
bool hidesVertical(const std::vector<Box>& holes, double x, const GridTrack& row)
{
    return std::any_of(holes.begin(), holes.end(), [&](const Box& hole) {
        return hole.x + epsilon < x && x < hole.x + hole.width - epsilon && hole.y <= row.start + epsilon &&
               row.start + row.size <= hole.y + hole.height + epsilon;
    });
}

bool hidesHorizontal(const std::vector<Box>& holes, double y, const GridTrack& column)
{
    return std::any_of(holes.begin(), holes.end(), [&](const Box& hole) {
        return hole.y + epsilon < y && y < hole.y + hole.height - epsilon && hole.x <= column.start + epsilon &&
               column.start + column.size <= hole.x + hole.width + epsilon;
    });
}

// One gridline across the tracks, drawn as the runs of segments no hole hides.
template <typename Hidden, typename Line>
void addGridline(const std::vector<GridTrack>& across, Hidden hidden, Line line)
{
    bool inRun = false;
    double runStart = 0;
    for (const GridTrack& track : across) {
        if (hidden(track)) {
            if (inRun)
                line(runStart, track.start);
            inRun = false;
        } else if (!inRun) {
            inRun = true;
            runStart = track.start;
        }
    }
    if (inRun)
        line(runStart, across.back().start + across.back().size);
}

}  // namespace

// Gridlines stop inside merged ranges (both directions) and under text that spills over its
// neighbours (the lines between the cells it covers). Drawn as plain segments, not through a clip,
// which would turn into a large path on every page of the PostScript.
void CellPainter::paintGridlines(const std::vector<Box>& merged, const std::vector<Box>& spills)
{
    cairo_save(cr_);
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_set_line_width(cr_, gridlineWidth);
    std::vector<Box> holes = merged;
    holes.insert(holes.end(), spills.begin(), spills.end());
    for (const GridTrack& row : grid_.rows)
        addGridline(grid_.columns, [&](const GridTrack& column) { return hidesHorizontal(merged, row.start, column); },
                    [&](double from, double to) {
                        cairo_move_to(cr_, from, row.start);
                        cairo_line_to(cr_, to, row.start);
                    });
    for (const GridTrack& column : grid_.columns)
        addGridline(grid_.rows, [&](const GridTrack& row) { return hidesVertical(holes, column.start, row); },
                    [&](double from, double to) {
                        cairo_move_to(cr_, column.start, from);
                        cairo_line_to(cr_, column.start, to);
                    });
    cairo_rectangle(cr_, 0, 0, grid_.width, grid_.height);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

// The last column a cell centred across the selection takes in: the empty cells to its right
// that are so formatted, whether this page shows them or not.
uint32_t CellPainter::centringEnd(uint32_t row, uint32_t column) const
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

Box CellPainter::centredAcross(const PlacedCell& placed) const
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

// Black-and-white printing leaves out fills and draws text and borders in black.
CellFormat CellPainter::printedFormat(uint16_t index) const
{
    CellFormat format = cellFormat(workbook_, index);
    if (sheet_.pageSetup.blackAndWhite) {
        format.fillPattern = 0;
        for (Border* border : {&format.left, &format.right, &format.top, &format.bottom})
            border->colorIndex = 0;
    }
    return format;
}

double CellPainter::pageRight() const
{
    return grid_.columns.back().start + grid_.columns.back().size;
}

// Text laid out over cells that run past the page's edges shows only on the page.
void CellPainter::keepToPage(TextPlan& plan, const Box& laidOut) const
{
    const double pageLeft = grid_.columns.front().start;
    const bool cutLeft = laidOut.x < pageLeft, cutRight = laidOut.x + laidOut.width > pageRight();
    if (!cutLeft && !cutRight)
        return;
    const double left = cutLeft ? std::max(plan.clip.x, pageLeft) : plan.clip.x;
    const double right =
        cutRight ? std::min(plan.clip.x + plan.clip.width, pageRight()) : plan.clip.x + plan.clip.width;
    plan.clip.x = left;
    plan.clip.width = std::max(right - left, 0.0);
    plan.clipped = true;
}

void CellPainter::paint(bool gridlines)
{
    FillRuns fills(cr_, workbook_);
    for (const PlacedCell& placed : cells_)
        if (!placed.offPage)
            fills.add(printedFormat(placed.format), placed.box);
    fills.finish();
    CellTextPainter text(cr_, layout_, workbook_, fonts_, digitWidth_);
    std::vector<TextPlan> plans;
    std::vector<Box> spills;
    for (const PlacedCell& placed : cells_) {
        if (!placed.cell)
            continue;
        const Box laidOut = centredAcross(placed);
        auto plan = text.plan(*placed.cell, laidOut,
                              [&](double width, HorizontalAlign align) { return overflowBox(placed, width, align); });
        if (!plan)
            continue;
        // Text the page's edge cuts goes on over the next page, where it is shown in full.
        if (plan->clip.x + plan->clip.width < pageRight() - 1e-6)
            text.trimToClip(*plan);
        keepToPage(*plan, laidOut);
        if (plan->spills)
            spills.push_back(plan->clip);
        if (sheet_.pageSetup.blackAndWhite)
            plan->color = Color{0, 0, 0};
        plans.push_back(std::move(*plan));
    }
    if (gridlines)
        paintGridlines(mergedBoxes_, spills);
    for (const TextPlan& plan : plans)
        text.paint(plan);
    BorderStrokes borders(workbook_);
    for (const PlacedCell& placed : cells_)
        if (!placed.offPage)
            borders.add(printedFormat(placed.format), placed.box);
    borders.stroke(cr_);
}

}  // namespace kx::workbook
