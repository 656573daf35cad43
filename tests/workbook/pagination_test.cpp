// Page breaks decided on the model alone, with a digit width of 7 pixels (Arial 10):
// default columns are 64 px = 48 pt wide and rows 12.75 pt high.
#include <gtest/gtest.h>

#include "print_test_support.h"
#include "workbook/model/error.h"
#include "workbook/canvas/font_metrics.h"
#include "workbook/layout/page_geometry.h"
#include "workbook/layout/page_grid.h"
#include "workbook/layout/pagination.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

constexpr int arialDigitWidth = 7;

// A sheet filled with numbers over rows x columns.
Workbook filledWorkbook(uint32_t rows, uint16_t columns)
{
    Workbook book = workbookWithSheet();
    for (uint32_t row = 0; row < rows; ++row)
        for (uint16_t column = 0; column < columns; ++column)
            setNumber(book.sheets[0], row, column, row * 100 + column);
    return book;
}

SheetPagination paginateOn(const Workbook& book, double width, double height, size_t limit = 10000)
{
    const Sheet& sheet = book.sheets[0];
    const SheetMetrics metrics(sheet, arialDigitWidth);
    return paginate(book, sheet, metrics, width, height, limit);
}

std::vector<std::pair<Band, Band>> bands(const SheetPagination& pagination)
{
    std::vector<std::pair<Band, Band>> result;
    for (const SheetPage& page : pagination.pages)
        result.push_back({page.rows, page.columns});
    return result;
}

}  // namespace

TEST(SheetMetricsTest, WidthsAndHeightsFollowTheSpreadsheetProgram)
{
    Sheet sheet;
    sheet.columns.push_back({.firstColumn = 1, .lastColumn = 1, .width = 2340});
    sheet.columns.push_back({.firstColumn = 2, .lastColumn = 3, .width = 2340, .hidden = true});
    sheet.rows.push_back({.index = 4, .heightTwips = 600});
    sheet.rows.push_back({.index = 5, .hidden = true});
    const SheetMetrics metrics(sheet, arialDigitWidth);
    EXPECT_DOUBLE_EQ(metrics.columnWidth(0), 48);   // 8 characters: 61 px, rounded up to 64
    EXPECT_DOUBLE_EQ(metrics.columnWidth(1), 48);   // 2340/256 x 7 = 64 px
    EXPECT_TRUE(metrics.columnHidden(3));
    EXPECT_DOUBLE_EQ(metrics.rowHeight(0), 12.75);
    EXPECT_DOUBLE_EQ(metrics.rowHeight(4), 30);
    EXPECT_TRUE(metrics.rowHidden(5));

    sheet.standardColumnWidth = 256 * 10;
    EXPECT_DOUBLE_EQ(SheetMetrics(sheet, arialDigitWidth).columnWidth(0), 52.5);  // 70 px
}

TEST(PageGeometry, PaperOrientationAndMargins)
{
    EXPECT_EQ(paperDimensions(1), (PaperDimensions{612, 792}));
    EXPECT_EQ(paperDimensions(5), (PaperDimensions{612, 1008}));
    EXPECT_NEAR(paperDimensions(9).width, 595.28, 0.01);
    EXPECT_NEAR(paperDimensions(8).height, 1190.55, 0.01);
    EXPECT_EQ(paperDimensions(0), paperDimensions(9));
    EXPECT_EQ(paperDimensions(500), paperDimensions(9));

    PageSetup setup;
    setup.paperSize = 1;
    setup.landscape = true;
    const PageFrame frame = pageFrame(setup);
    EXPECT_DOUBLE_EQ(frame.pageWidth, 792);
    EXPECT_DOUBLE_EQ(frame.contentWidth, 792 - 108);
    EXPECT_DOUBLE_EQ(frame.contentHeight, 612 - 144);
    EXPECT_DOUBLE_EQ(frame.left, 54);

    // Margins wider than the paper leave an inch to print on instead of a negative area.
    setup.leftMargin = setup.rightMargin = 20;
    setup.topMargin = -3;
    const PageFrame squeezed = pageFrame(setup);
    EXPECT_NEAR(squeezed.contentWidth, 72, 1e-9);
    EXPECT_DOUBLE_EQ(squeezed.top, 0);
}

TEST(Pagination, RowsAndColumnsSplitWhereThePageIsFull)
{
    // 100 pt by 40 pt holds two columns and three rows.
    const Workbook book = filledWorkbook(7, 5);
    const SheetPagination pagination = paginateOn(book, 100, 40);
    ASSERT_EQ(pagination.pages.size(), 9u);  // rows 0-2, 3-5, 6 by columns 0-1, 2-3, 4
    // Down, then across.
    EXPECT_EQ(pagination.pages[0].rows, (Band{0, 2}));
    EXPECT_EQ(pagination.pages[1].rows, (Band{3, 5}));
    EXPECT_EQ(pagination.pages[2].rows, (Band{6, 6}));
    EXPECT_EQ(pagination.pages[3].columns, (Band{2, 3}));
    EXPECT_EQ(pagination.pages[8].columns, (Band{4, 4}));

    Workbook across = book;
    across.sheets[0].pageSetup.overThenDown = true;
    const SheetPagination overThenDown = paginateOn(across, 100, 40);
    EXPECT_EQ(overThenDown.pages[1].columns, (Band{2, 3}));
    EXPECT_EQ(overThenDown.pages[1].rows, (Band{0, 2}));
    EXPECT_EQ(overThenDown.pages[3].rows, (Band{3, 5}));
}

TEST(Pagination, ScaleShrinksOrGrowsWhatFitsAndIsClamped)
{
    Workbook book = filledWorkbook(20, 1);
    book.sheets[0].pageSetup.scale = 50;
    EXPECT_EQ(paginateOn(book, 100, 51).pages.size(), 3u);  // 8 rows of 6.375 pt a page
    book.sheets[0].pageSetup.scale = 200;
    EXPECT_EQ(paginateOn(book, 100, 51).pages.size(), 10u);
    book.sheets[0].pageSetup.scale = 5000;
    EXPECT_DOUBLE_EQ(paginateOn(book, 100, 51).scale, 4.0);
    book.sheets[0].pageSetup.scale = 1;
    EXPECT_DOUBLE_EQ(paginateOn(book, 100, 51).scale, 0.1);
}

TEST(Pagination, ManualBreaksStartPagesAndHiddenRowsTakeNoRoom)
{
    Workbook book = filledWorkbook(10, 1);
    Sheet& sheet = book.sheets[0];
    sheet.pageSetup.rowBreaks = {4};
    EXPECT_EQ(bands(paginateOn(book, 100, 1000)),
              (std::vector<std::pair<Band, Band>>{{{0, 3}, {0, 0}}, {{4, 9}, {0, 0}}}));

    sheet.pageSetup.rowBreaks.clear();
    sheet.rows[1].hidden = true;
    sheet.rows[2].hidden = true;
    // Three visible rows a page: 0, 3, 4 on the first.
    const SheetPagination pagination = paginateOn(book, 100, 40);
    EXPECT_EQ(pagination.pages[0].rows, (Band{0, 4}));
    EXPECT_EQ(pagination.pages.size(), 3u);
}

TEST(Pagination, FitToPagesPicksTheLargestScaleThatFitsAndIgnoresBreaks)
{
    Workbook book = filledWorkbook(40, 4);  // 510 pt tall, 192 pt wide
    PageSetup& setup = book.sheets[0].pageSetup;
    setup.fitToPages = true;
    setup.fitWidth = 1;
    setup.fitHeight = 1;
    setup.rowBreaks = {10, 20};
    SheetPagination pagination = paginateOn(book, 500, 255);
    EXPECT_DOUBLE_EQ(pagination.scale, 0.5);
    EXPECT_EQ(pagination.pages.size(), 1u);

    setup.fitHeight = 0;  // as many pages tall as needed: only the width counts
    pagination = paginateOn(book, 96, 200);
    EXPECT_DOUBLE_EQ(pagination.scale, 0.5);
    EXPECT_EQ(pagination.pages.size(), 2u);

    setup.fitHeight = 1;  // never enlarged beyond 100 %
    EXPECT_DOUBLE_EQ(paginateOn(book, 5000, 5000).scale, 1.0);
    // Never below 10 % either, even when the pages asked for cannot hold it.
    EXPECT_DOUBLE_EQ(paginateOn(book, 5, 5).scale, 0.1);
}

TEST(Pagination, PrintTitlesRepeatOnLaterPagesAndTakeTheirRoom)
{
    Workbook book = filledWorkbook(12, 1);
    book.sheets[0].pageSetup.titleRows = std::make_pair(0u, 1u);
    const SheetPagination pagination = paginateOn(book, 100, 52);  // four rows a page
    ASSERT_GE(pagination.pages.size(), 2u);
    EXPECT_EQ(pagination.pages[0].rows, (Band{0, 3, false}));
    EXPECT_EQ(pagination.pages[1].rows, (Band{4, 5, true}));  // two titles and two rows
    EXPECT_EQ(pagination.pages.size(), 5u);
}

TEST(Pagination, PrintAreaOrUsedRangeAndBlankPagesLeftOut)
{
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setNumber(sheet, 2, 1, 1);
    setNumber(sheet, 4000, 200, 2);
    // Corners of a huge used range: only the two pages with something on them print.
    SheetPagination pagination = paginateOn(book, 500, 700);
    EXPECT_EQ(pagination.areas[0], (CellRange{0, 4000, 0, 200}));  // from A1
    EXPECT_EQ(pagination.pages.size(), 2u);

    sheet.pageSetup.printArea = {{0, 3, 0, 3}, {4000, 4000, 200, 201}};
    pagination = paginateOn(book, 500, 700);
    ASSERT_EQ(pagination.pages.size(), 2u);
    EXPECT_EQ(pagination.pages[1].area, 1u);
    EXPECT_EQ(pagination.pages[1].rows, (Band{4000, 4000}));

    // A blank cell counts when it has a border or a fill, and not otherwise.
    Workbook formatted = workbookWithSheet();
    formatted.formats.push_back(CellFormat{.fillPattern = 1});
    formatted.sheets[0].rows.push_back({.index = 9, .cells = {{.column = 3, .format = 1}, {.column = 8}}});
    pagination = paginateOn(formatted, 500, 700);
    EXPECT_EQ(pagination.areas[0], (CellRange{0, 9, 0, 3}));
    EXPECT_TRUE(paginateOn(workbookWithSheet(), 500, 700).pages.empty());
}

TEST(Pagination, EveryPageThatMergedRangesSpilledTextAndDrawingsCrossPrints)
{
    // Pages 100 pt wide take two columns: A1 merged over A1:F1 crosses three.
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "a title merged across three pages");
    sheet.mergedRanges.push_back({0, 0, 0, 5});
    EXPECT_EQ(bands(paginateOn(book, 100, 700)),
              (std::vector<std::pair<Band, Band>>{{{0, 0}, {0, 1}}, {{0, 0}, {2, 3}}, {{0, 0}, {4, 5}}}));

    // Its text spilling over A1:H1 instead, and a drawing over rows 1 to 299 of column A (54 rows a page).
    sheet.mergedRanges.clear();
    const SheetMetrics metrics(sheet, arialDigitWidth);
    const SheetPagination spilled = paginate(book, sheet, metrics, 100, 700, 100, {{0, 0, 0, 7}});
    EXPECT_EQ(spilled.pages.size(), 4u);
    const SheetPagination drawn = paginate(book, sheet, metrics, 100, 700, 100, {{1, 299, 0, 0}});
    EXPECT_EQ(drawn.pages.size(), 6u);
    EXPECT_EQ(drawn.areas.at(0), (CellRange{0, 299, 0, 0}));
}

TEST(Pagination, TooManyPagesStopsThePrint)
{
    const Workbook book = filledWorkbook(300, 1);
    try {
        paginateOn(book, 100, 13, 100);
        FAIL() << "expected TooManyPages";
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.code(), ErrorCode::TooManyPages);
    }
}

TEST(FontMeasure, DigitWidthsMatchTheSpreadsheetProgramsPixels)
{
    // Arial stands in through Liberation Sans, which has Arial's widths.
    EXPECT_EQ(maxDigitWidthPixels(Font{.name = "Arial", .heightTwips = 200}), 7);
    EXPECT_EQ(maxDigitWidthPixels(Font{.name = "Courier New", .heightTwips = 200}), 8);
    EXPECT_GT(maxDigitWidthPixels(Font{.name = "Arial", .heightTwips = 400}), 12);
    // Names per character set are the font itself, not a wider fallback.
    EXPECT_EQ(maxDigitWidthPixels(Font{.name = "Arial Tur", .heightTwips = 200}), 7);
    EXPECT_EQ(maxDigitWidthPixels(Font{.name = "Times New Roman Cyr", .heightTwips = 200}),
              maxDigitWidthPixels(Font{.name = "Times New Roman", .heightTwips = 200}));
}

TEST(Pagination, TitleColumnsColumnBreaksAndHiddenColumns)
{
    Workbook book = filledWorkbook(1, 8);
    Sheet& sheet = book.sheets[0];
    sheet.pageSetup.titleColumns = std::make_pair<uint16_t, uint16_t>(0, 0);
    sheet.pageSetup.columnBreaks = {5};
    sheet.columns.push_back({.firstColumn = 2, .lastColumn = 2, .width = 2340, .hidden = true});
    // 150 pt: three columns a page; the repeated title column takes one of them on later pages.
    const SheetPagination pagination = paginateOn(book, 150, 100);
    std::vector<Band> columns;
    for (const SheetPage& page : pagination.pages)
        columns.push_back(page.columns);
    EXPECT_EQ(columns, (std::vector<Band>{{0, 3, false}, {4, 4, true}, {5, 6, true}, {7, 7, true}}));

    const PageGrid grid = pageGrid(sheet, SheetMetrics(sheet, arialDigitWidth), pagination.pages[1]);
    ASSERT_EQ(grid.columns.size(), 2u);
    EXPECT_EQ(grid.columns[0].index, 0u);  // the title first
    EXPECT_EQ(grid.columns[1].index, 4u);
    EXPECT_DOUBLE_EQ(grid.columns[1].start, 48);
    EXPECT_DOUBLE_EQ(grid.width, 96);
    EXPECT_EQ(pageGrid(sheet, SheetMetrics(sheet, arialDigitWidth), pagination.pages[0]).columns.size(), 3u);
}

TEST(Pagination, HeadingsTakeRoomAndPrintAreasOutsideTheSheetAreClamped)
{
    Workbook book = filledWorkbook(8, 1);
    Sheet& sheet = book.sheets[0];
    EXPECT_EQ(paginateOn(book, 100, 51).pages.size(), 2u);  // four rows a page
    sheet.pageSetup.headings = true;
    const SheetPagination withHeadings = paginateOn(book, 100, 51);
    EXPECT_EQ(withHeadings.pages.size(), 3u);  // the column letters take a row's height
    EXPECT_DOUBLE_EQ(withHeadings.headingHeight, 12.75);
    EXPECT_DOUBLE_EQ(withHeadings.headingWidth, (7 + 5 + 1) * 0.75);  // one digit of row number

    sheet.pageSetup.headings = false;
    sheet.pageSetup.printArea = {{70000, 80000, 300, 400}, {5, 1, 0, 0}, {6, 99999, 0, 0}};
    const SheetPagination clamped = paginateOn(book, 100, 1000);
    ASSERT_EQ(clamped.areas.size(), 1u);  // the first lies past the last row, the second is upside down
    EXPECT_EQ(clamped.areas[0], (CellRange{6, maxRows - 1, 0, 0}));
    EXPECT_EQ(clamped.pages.size(), 1u);  // blank pages of the long area are left out
}
