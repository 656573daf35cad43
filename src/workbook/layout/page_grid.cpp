#include "workbook/layout/page_grid.h"

#include <algorithm>

namespace kx::workbook {
namespace {

template <typename SizeOf>
double addTracks(std::vector<GridTrack>& tracks, double start, uint32_t first, uint32_t last, SizeOf sizeOf)
{
    for (uint32_t index = first; index <= last; ++index) {
        const double size = sizeOf(index);
        if (size > 0) {
            tracks.push_back({index, start, size});
            start += size;
        }
    }
    return start;
}

}  // namespace

PageGrid pageGrid(const Sheet& sheet, const SheetMetrics& metrics, const SheetPage& page)
{
    const PageSetup& setup = sheet.pageSetup;
    const auto rowHeight = [&](uint32_t row) { return metrics.rowHeight(row); };
    const auto columnWidth = [&](uint32_t column) { return metrics.columnWidth(column); };
    PageGrid grid;
    if (page.rows.withTitles && setup.titleRows)
        grid.height = addTracks(grid.rows, grid.height, setup.titleRows->first,
                                std::min(setup.titleRows->second, maxRows - 1), rowHeight);
    grid.height = addTracks(grid.rows, grid.height, page.rows.first, page.rows.last, rowHeight);
    if (page.columns.withTitles && setup.titleColumns)
        grid.width = addTracks(grid.columns, grid.width, setup.titleColumns->first,
                               std::min<uint32_t>(setup.titleColumns->second, maxColumns - 1), columnWidth);
    grid.width = addTracks(grid.columns, grid.width, page.columns.first, page.columns.last, columnWidth);
    return grid;
}

}  // namespace kx::workbook
