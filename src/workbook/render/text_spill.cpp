#include "workbook/render/text_spill.h"

#include <algorithm>

#include "workbook/format/cell_content.h"
#include "workbook/canvas/pango_layout.h"

namespace kx::workbook {
namespace {

constexpr double padding = 3;  // both sides of a cell's text, in points

// Shaped or laid out as the cell will print it, so that the page reuses the result.
double textWidth(CellFonts& fonts, const CellFormat& format, const CellContent& content)
{
    if (!content.rich)
        if (const auto line = fonts.line(content.text, format.fontIndex, 1))
            return line->width();
    return logicalSize(fonts.layout(content.text, format.fontIndex, content.rich, 1, {})).width;
}

bool isMerged(const Sheet& sheet, uint32_t row, uint16_t column)
{
    for (const CellRange& range : sheet.mergedRanges)
        if (range.contains(row, column))
            return true;
    return false;
}

}  // namespace

bool spillsRight(const Workbook& workbook, const Cell& cell)
{
    const CellFormat& format = cellFormat(workbook, cell.format);
    const bool leftAligned = format.horizontal == HorizontalAlign::General || format.horizontal == HorizontalAlign::Left;
    return cell.kind == CellKind::Text && leftAligned && !format.wrap && format.rotation == 0;
}

std::vector<CellRange> textSpills(const Workbook& workbook, const Sheet& sheet, const SheetMetrics& metrics,
                                  CellFonts& fonts)
{
    std::vector<CellRange> spills;
    for (const Row& row : sheet.rows) {
        auto last = std::find_if(row.cells.rbegin(), row.cells.rend(),
                                 [](const Cell& cell) { return cell.kind != CellKind::Blank; });
        if (last == row.cells.rend() || !spillsRight(workbook, *last) || row.hidden ||
            isMerged(sheet, row.index, last->column))
            continue;
        const std::optional<CellContent> content = cellContent(workbook, *last);
        if (!content)
            continue;
        double room = metrics.columnWidth(last->column) - padding;
        const double width = textWidth(fonts, cellFormat(workbook, last->format), *content);
        uint32_t column = last->column;
        while (room < width && column + 1 < maxColumns && !isMerged(sheet, row.index, static_cast<uint16_t>(column + 1)))
            room += metrics.columnWidth(++column);
        if (column != last->column)
            spills.push_back({row.index, row.index, last->column, static_cast<uint16_t>(column)});
    }
    return spills;
}

}  // namespace kx::workbook
