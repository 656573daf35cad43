#pragma once
// A sheet's page set-up as stored in the file. Plain data.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbook/model/cells.h"

namespace kx::workbook {

// The zoom percentages a page set-up can print at.
inline constexpr int minimumZoom = 10;
inline constexpr int maximumZoom = 400;

// The page set-up as stored in the file; the print engine lays the caller's settings over it.
struct PageSetup {
    uint16_t paperSize = 9;     // spreadsheet paper code (1 Letter, 5 Legal, 9 A4 ...)
    uint16_t scale = 100;       // percent
    bool fitToPages = false;    // fit to fitWidth by fitHeight pages instead of scale
    uint16_t fitWidth = 1, fitHeight = 1;  // 0 means "as many as needed"
    bool landscape = false;
    bool overThenDown = false;  // page order; false is down then over
    std::optional<uint16_t> firstPageNumber;
    bool blackAndWhite = false;
    double leftMargin = 0.75, rightMargin = 0.75, topMargin = 1.0, bottomMargin = 1.0;  // inches
    double headerMargin = 0.5, footerMargin = 0.5;
    bool centerHorizontally = false, centerVertically = false;
    bool gridlines = false;
    bool headings = false;
    CommentPrinting comments = CommentPrinting::None;
    std::string header, footer;  // with their & codes
    std::vector<uint32_t> rowBreaks;     // a page starts at each of these rows, ascending
    std::vector<uint16_t> columnBreaks;  // a page starts at each of these columns, ascending
    std::vector<CellRange> printArea;    // empty: the used range
    std::optional<std::pair<uint32_t, uint32_t>> titleRows;     // first and last, inclusive
    std::optional<std::pair<uint16_t, uint16_t>> titleColumns;  // first and last, inclusive
};

}  // namespace kx::workbook
