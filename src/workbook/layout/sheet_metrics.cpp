#include "workbook/layout/sheet_metrics.h"

#include <algorithm>
#include <cmath>

namespace kx::workbook {
namespace {

constexpr double pointsPerPixel = 0.75;
constexpr double pointsPerTwip = 1.0 / kTwipsPerPoint;

// The space beside the digits of a cell: a quarter of a digit, rounded up, on each side, plus
// one pixel of gridline.
int cellPadding(int maxDigitWidth)
{
    return 2 * ((maxDigitWidth + 3) / 4) + 1;
}

int decimalDigits(uint32_t number)
{
    int digits = 1;
    for (; number >= 10; number /= 10)
        ++digits;
    return digits;
}

}  // namespace

int columnPixels(uint16_t storedWidth, int maxDigitWidth)
{
    // The width is nudged up by half a pixel's worth of 1/256 characters, then truncated.
    const int digit = std::max(maxDigitWidth, 1);
    return static_cast<int>((storedWidth + 128 / digit) * static_cast<int64_t>(digit) / 256);
}

int defaultColumnPixels(uint16_t characters, int maxDigitWidth)
{
    const int pixels = characters * maxDigitWidth + cellPadding(maxDigitWidth);
    return (pixels + 7) / 8 * 8;
}

SheetMetrics::SheetMetrics(const Sheet& sheet, int maxDigitWidth, double paperScale)
    : sheet_(sheet), digitWidth_(std::max(maxDigitWidth, 1)),
      paperScale_(std::isfinite(paperScale) && paperScale > 0 ? paperScale : 1.0),
      defaultRowHeight_(sheet.defaultRowHeightTwips * pointsPerTwip)
{
    const int defaultPixels = sheet.standardColumnWidth
                                  ? columnPixels(*sheet.standardColumnWidth, digitWidth_)
                                  : defaultColumnPixels(sheet.defaultColumnWidth, digitWidth_);
    const double pointsPerColumnPixel = pointsPerPixel * paperScale_;
    columnWidths_.fill(defaultPixels * pointsPerColumnPixel);
    for (const ColumnInfo& info : sheet.columns) {
        const double width = info.hidden ? 0 : columnPixels(info.width, digitWidth_) * pointsPerColumnPixel;
        const uint16_t last = std::min<uint16_t>(info.lastColumn, maxColumns - 1);
        for (uint32_t column = info.firstColumn; column <= last; ++column)
            columnWidths_[column] = width;
    }
}

double SheetMetrics::rowHeight(uint32_t row) const
{
    if (row >= maxRows)
        return 0;
    if (const Row* stored = sheet_.row(row))
        return stored->hidden ? 0 : stored->heightTwips * pointsPerTwip;
    return sheet_.defaultRowsHidden ? 0 : defaultRowHeight_;
}

double SheetMetrics::headingColumnWidth(uint32_t lastRow) const
{
    const int pixels = decimalDigits(lastRow + 1) * digitWidth_ + cellPadding(digitWidth_) + 1;
    return pixels * pointsPerPixel * paperScale_;
}

}  // namespace kx::workbook
