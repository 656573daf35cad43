#pragma once
// The link areas of a printed page: each hyperlink's cells as they lie on the paper, leading to
// its address or to the printed page that shows the place in the workbook it names.
#include <string>
#include <vector>

#include "workbook/render/page_painter.h"

namespace kx::workbook {

// A clickable area of a page, in points from the page's top-left corner. It leads either to a
// web or mail address or, without one, to the top of a page of the same print (1-based).
struct LinkArea {
    double x = 0, y = 0, width = 0, height = 0;
    std::string uri;
    int targetPage = 0;
};

// Which page of the printed document shows a cell, over every sheet of the print.
class LinkTargets {
public:
    // Only pages `from` to `to` of the whole print are printed; the document counts from `from`.
    LinkTargets(int from, int to) : from_(from), to_(to) {}
    // The sheet's cell pages are pages firstPosition, firstPosition + 1, ... of the whole print.
    void addSheet(const Sheet& sheet, const SheetPagination& pagination, int firstPosition);
    // The document page showing a place such as "Sheet2!B4", "'Q1 sales'!A1" or "B4" (on
    // `current`); 0 when it names no cell or one that is not printed.
    int pageOf(const std::string& location, const Sheet& current) const;

private:
    struct PrintedSheet {
        const Sheet* sheet;
        const SheetPagination* pagination;
        int firstPosition;
    };
    std::vector<PrintedSheet> sheets_;
    int from_, to_;
};

std::vector<LinkArea> pageLinks(const SheetPrint& print, const SheetPage& page, const LinkTargets& targets);

}  // namespace kx::workbook
