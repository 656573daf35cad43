#pragma once
// The rows and columns one page shows, with their positions in unscaled points from the
// top-left corner of the grid: print titles first, then the page's own band; hidden ones left out.
#include <cstdint>
#include <vector>

#include "workbook/layout/pagination.h"
#include "workbook/layout/sheet_metrics.h"

namespace kx::workbook {

struct GridTrack {
    uint32_t index = 0;
    double start = 0, size = 0;
};

struct PageGrid {
    std::vector<GridTrack> rows, columns;
    double width = 0, height = 0;
};

PageGrid pageGrid(const Sheet& sheet, const SheetMetrics& metrics, const SheetPage& page);

}  // namespace kx::workbook
