#pragma once
// Splitting a sheet into pages. Plain data, decided here once; the renderer only draws it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "workbook/model/model.h"
#include "workbook/layout/sheet_metrics.h"

namespace kx::workbook {

// A run of rows or columns printed on one page, inclusive; withTitles when the print titles of
// that direction repeat in front of it.
struct Band {
    uint32_t first = 0, last = 0;
    bool withTitles = false;
    bool operator==(const Band&) const = default;
};

struct SheetPage {
    size_t area = 0;  // index into SheetPagination::areas
    Band rows, columns;
};

struct SheetPagination {
    double scale = 1;  // 1 prints at 100 %
    double headingWidth = 0, headingHeight = 0;  // unscaled; 0 when headings are not printed
    std::vector<CellRange> areas;
    std::vector<SheetPage> pages;  // in print order; pages with nothing on them are left out
};

// Pages of the sheet's print area (or of its used range) under its page set-up, for a printable
// area of contentWidth by contentHeight points. inkedAreas: cells that print although they are
// empty, such as those that text spills over or drawings cover; every page they cross prints,
// like every page a merged range crosses. Throws WorkbookError(TooManyPages) when the sheet
// would need more than pageLimit pages.
SheetPagination paginate(const Workbook& workbook, const Sheet& sheet, const SheetMetrics& metrics,
                         double contentWidth, double contentHeight, size_t pageLimit,
                         const std::vector<CellRange>& inkedAreas = {});

}  // namespace kx::workbook
