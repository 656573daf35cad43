// Column widths: whole screen pixels from the stored widths and the default font's widest digit,
// then widened on paper by that digit's exact width over its whole pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "print_test_support.h"
#include "workbook/canvas/font_metrics.h"
#include "workbook/layout/pagination.h"
#include "workbook/layout/sheet_metrics.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

const Font arial10{.name = "Arial", .heightTwips = 200};

}  // namespace

TEST(ColumnWidthsTest, StoredWidthsBecomeWholePixels)
{
    EXPECT_EQ(columnPixels(2340, 7), 64);   // the standard 8.43 characters
    EXPECT_EQ(columnPixels(2048, 7), 56);
    EXPECT_EQ(columnPixels(2340, 8), 73);
    // Half a pixel is not rounded up: 128/256 x 7 = 3.5 px, nudged by 18/256 characters, stays 3.
    EXPECT_EQ(columnPixels(128, 7), 3);
    EXPECT_EQ(columnPixels(0, 7), 0);
    EXPECT_EQ(columnPixels(65535, 7), 1792);
    EXPECT_EQ(columnPixels(2340, 0), 9);    // a font without digits measures one pixel
}

TEST(ColumnWidthsTest, DefaultWidthsPadAndRoundUpToEightPixels)
{
    EXPECT_EQ(defaultColumnPixels(8, 7), 64);   // 56 + 5 = 61
    EXPECT_EQ(defaultColumnPixels(8, 8), 72);   // 64 + 5 = 69
    EXPECT_EQ(defaultColumnPixels(8, 9), 80);   // 72 + 7 = 79
    EXPECT_EQ(defaultColumnPixels(0, 7), 8);
    EXPECT_EQ(defaultColumnPixels(10, 7), 80);  // 70 + 5 = 75
}

TEST(ColumnWidthsTest, DigitWidthsOfCommonDefaultFonts)
{
    EXPECT_EQ(maxDigitWidthPixels(Font{.name = "Calibri", .heightTwips = 220}), 7);
    // Arial 10 digits are 5.56 pt wide: 7.41 px on paper against 7 whole pixels on screen.
    EXPECT_NEAR(paperColumnScale(arial10), 7.41 / 7, 0.01);
}

TEST(ColumnWidthsTest, ColumnsPrintWiderByThePaperScale)
{
    Sheet sheet;
    sheet.columns.push_back({.firstColumn = 1, .lastColumn = 1, .width = 4096});
    sheet.columns.push_back({.firstColumn = 2, .lastColumn = 2, .width = 2340, .hidden = true});
    const SheetMetrics metrics(sheet, 7, 1.25);
    EXPECT_DOUBLE_EQ(metrics.columnWidth(0), 60);   // 64 px = 48 pt
    EXPECT_DOUBLE_EQ(metrics.columnWidth(1), 105);  // 112 px = 84 pt
    EXPECT_TRUE(metrics.columnHidden(2));
    EXPECT_DOUBLE_EQ(metrics.rowHeight(0), 12.75);  // rows keep their points
    EXPECT_DOUBLE_EQ(metrics.headingColumnWidth(9), SheetMetrics(sheet, 7).headingColumnWidth(9) * 1.25);

    for (double nonsense : {0.0, -2.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_DOUBLE_EQ(SheetMetrics(sheet, 7, nonsense).columnWidth(0), 48);
}

// Ten standard Arial 10 columns (640 px) would fit the 659 px between margins of 0.7 inch on A4
// at screen widths; on paper only nine fit.
TEST(ColumnWidthsTest, PrintedStandardColumnsLeaveTheTenthForTheNextPage)
{
    Workbook book = workbookWithSheet();
    book.fonts.front() = arial10;
    for (uint16_t column = 0; column < 10; ++column)
        setNumber(book.sheets[0], 0, column, column);
    const Sheet& sheet = book.sheets[0];
    const double contentWidth = 595.28 - 2 * 0.7 * 72;

    const SheetMetrics onScreen(sheet, 7);
    EXPECT_EQ(paginate(book, sheet, onScreen, contentWidth, 700, 100).pages.size(), 1u);

    const SheetMetrics onPaper(sheet, maxDigitWidthPixels(arial10), paperColumnScale(arial10));
    const SheetPagination pagination = paginate(book, sheet, onPaper, contentWidth, 700, 100);
    ASSERT_EQ(pagination.pages.size(), 2u);
    EXPECT_EQ(pagination.pages[0].columns.last, 8u);
}
