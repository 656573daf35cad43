#include "workbook/layout/drawing_geometry.h"

#include <algorithm>

namespace kx::workbook {
namespace {

constexpr double columnOffsetUnits = 1024;
constexpr double rowOffsetUnits = 256;

// The sum of sizes from `from` up to `to`, negative when `to` lies before `from`.
template <typename SizeOf>
double distance(uint32_t from, uint32_t to, SizeOf sizeOf)
{
    double sum = 0;
    for (uint32_t i = std::min(from, to); i < std::max(from, to); ++i)
        sum += sizeOf(i);
    return to >= from ? sum : -sum;
}

template <typename SizeOf>
double position(const Band& band, double bandEnd, uint32_t index, uint16_t offset, double units, SizeOf sizeOf)
{
    const double bandStart = bandEnd - distance(band.first, band.last + 1, sizeOf);
    return bandStart + distance(band.first, index, sizeOf) + std::min<double>(offset, units) / units * sizeOf(index);
}

}  // namespace

std::vector<CellRange> drawingAreas(const Sheet& sheet)
{
    std::vector<CellRange> areas;
    for (const Drawing& drawing : sheet.drawings) {
        const DrawingAnchor& at = drawing.anchor;
        const uint32_t lastRow = at.lastRow > at.firstRow && at.lastRowOffset == 0 ? at.lastRow - 1 : at.lastRow;
        const uint16_t lastColumn =
            at.lastColumn > at.firstColumn && at.lastColumnOffset == 0 ? at.lastColumn - 1 : at.lastColumn;
        areas.push_back({at.firstRow, std::max(lastRow, at.firstRow), at.firstColumn,
                         std::max(lastColumn, at.firstColumn)});
    }
    return areas;
}

Box drawingBox(const DrawingAnchor& anchor, const SheetMetrics& metrics, const SheetPage& page, const PageGrid& grid)
{
    const auto rowHeight = [&](uint32_t row) { return row < maxRows ? metrics.rowHeight(row) : 0.0; };
    const auto columnWidth = [&](uint32_t column) {
        return column < maxColumns ? metrics.columnWidth(static_cast<uint16_t>(column)) : 0.0;
    };
    const double left = position(page.columns, grid.width, anchor.firstColumn, anchor.firstColumnOffset,
                                 columnOffsetUnits, columnWidth);
    const double right = position(page.columns, grid.width, anchor.lastColumn, anchor.lastColumnOffset,
                                  columnOffsetUnits, columnWidth);
    const double top = position(page.rows, grid.height, anchor.firstRow, anchor.firstRowOffset, rowOffsetUnits,
                                rowHeight);
    const double bottom = position(page.rows, grid.height, anchor.lastRow, anchor.lastRowOffset, rowOffsetUnits,
                                   rowHeight);
    return {left, top, std::max(0.0, right - left), std::max(0.0, bottom - top)};
}

Box shareOf(const Box& box, const DrawingShare& share)
{
    return {box.x + share.left * box.width, box.y + share.top * box.height,
            std::max(0.0, (share.right - share.left) * box.width), std::max(0.0, (share.bottom - share.top) * box.height)};
}

}  // namespace kx::workbook
