#pragma once
// Row heights and column widths of a sheet in points, as the spreadsheet program prints them:
// columns are laid out in whole screen pixels at 96 to the inch, then widened on paper by the
// default font's exact digit width over its whole-pixel one. Hidden rows and columns measure 0.
#include <array>
#include <cstdint>

#include "workbook/model/model.h"

namespace kx::workbook {

class SheetMetrics {
public:
    // maxDigitWidth: the widest digit of the workbook's default font, in whole pixels;
    // paperScale: its exact width over that (see paperColumnScale).
    SheetMetrics(const Sheet& sheet, int maxDigitWidth, double paperScale = 1.0);

    double rowHeight(uint32_t row) const;
    // Rows and columns past the sheet's last measure 0, like hidden ones.
    double columnWidth(uint32_t column) const { return column < maxColumns ? columnWidths_[column] : 0; }
    bool rowHidden(uint32_t row) const { return rowHeight(row) <= 0; }
    bool columnHidden(uint32_t column) const { return columnWidth(column) <= 0; }

    // The row-number column and the column-letter row of printed headings.
    double headingColumnWidth(uint32_t lastRow) const;
    double headingRowHeight() const { return defaultRowHeight_; }

private:
    const Sheet& sheet_;
    int digitWidth_;
    double paperScale_;
    double defaultRowHeight_;
    std::array<double, maxColumns> columnWidths_{};
};

// Pixels of a column whose width is stored in 1/256 of a digit width, padding included.
int columnPixels(uint16_t storedWidth, int maxDigitWidth);
// Pixels of a column of the sheet's default width in characters, padding added and rounded up
// to a multiple of 8 pixels as the spreadsheet program does.
int defaultColumnPixels(uint16_t characters, int maxDigitWidth);

}  // namespace kx::workbook
