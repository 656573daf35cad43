#include "workbook/layout/used_range.h"

#include <algorithm>

#include "workbook/model/cell_fill.h"

namespace kx::workbook {
namespace {

bool isPrintable(const Workbook& workbook, const Sheet& sheet, const Cell& cell)
{
    if (cell.kind != CellKind::Blank)
        return true;
    return cell.format < workbook.formats.size() &&
           hasVisibleFormatting(workbook, workbook.formats[cell.format], sheet.pageSetup.blackAndWhite);
}

}  // namespace

bool hasVisibleFormatting(const Workbook& workbook, const CellFormat& format, bool blackAndWhite)
{
    const auto drawn = [](const Border& border) { return border.style != BorderStyle::None; };
    return drawn(format.left) || drawn(format.right) || drawn(format.top) || drawn(format.bottom) ||
           (!blackAndWhite && fillShows(workbook, format));
}

std::vector<CellRef> printableCells(const Workbook& workbook, const Sheet& sheet)
{
    std::vector<CellRef> cells;
    for (const Row& row : sheet.rows)
        for (const Cell& cell : row.cells)
            if (isPrintable(workbook, sheet, cell))
                cells.push_back({row.index, cell.column});
    return cells;
}

std::vector<CellRange> printableMergedRanges(const Workbook& workbook, const Sheet& sheet)
{
    std::vector<CellRange> ranges;
    for (const CellRange& merged : sheet.mergedRanges) {
        const Cell* anchor = sheet.cell(merged.firstRow, merged.firstColumn);
        if (anchor && isPrintable(workbook, sheet, *anchor))
            ranges.push_back(merged);
    }
    return ranges;
}

std::optional<CellRange> boundingRange(const std::vector<CellRef>& cells, const std::vector<CellRange>& areas)
{
    std::optional<CellRange> range;
    const auto take = [&](const CellRange& more) {
        if (!range) {
            range = more;
            return;
        }
        range->firstRow = std::min(range->firstRow, more.firstRow);
        range->lastRow = std::max(range->lastRow, more.lastRow);
        range->firstColumn = std::min(range->firstColumn, more.firstColumn);
        range->lastColumn = std::max(range->lastColumn, more.lastColumn);
    };
    for (const CellRef& cell : cells)
        take({cell.row, cell.row, cell.column, cell.column});
    for (const CellRange& area : areas)
        take(area);
    return range;
}

}  // namespace kx::workbook
