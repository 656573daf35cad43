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
    for (const CellRange& merged : sheet.mergedRanges) {
        const Cell* anchor = sheet.cell(merged.firstRow, merged.firstColumn);
        if (anchor && isPrintable(workbook, sheet, *anchor)) {
            cells.push_back({merged.lastRow, merged.firstColumn});
            cells.push_back({merged.firstRow, merged.lastColumn});
            cells.push_back({merged.lastRow, merged.lastColumn});
        }
    }
    return cells;
}

std::optional<CellRange> boundingRange(const std::vector<CellRef>& cells)
{
    if (cells.empty())
        return std::nullopt;
    CellRange range{cells.front().row, cells.front().row, cells.front().column, cells.front().column};
    for (const CellRef& cell : cells) {
        range.firstRow = std::min(range.firstRow, cell.row);
        range.lastRow = std::max(range.lastRow, cell.row);
        range.firstColumn = std::min(range.firstColumn, cell.column);
        range.lastColumn = std::max(range.lastColumn, cell.column);
    }
    return range;
}

}  // namespace kx::workbook
