// Where a page's cells and their texts go, placed without printing.
#include <gtest/gtest.h>

#include <algorithm>

#include "print_test_support.h"
#include "workbook/layout/cell_places.h"
#include "workbook/layout/spill_ranges.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

constexpr double column = 48, row = 12.75;  // the default sizes at a digit of 7 pixels

// The places on a page of the first sheet that shows rows 0-3 and the given columns.
struct Page {
    Page(const Workbook& book, uint32_t firstColumn, uint32_t lastColumn)
        : metrics(book.sheets[0], 7),
          grid(pageGrid(book.sheets[0], metrics, {.rows = {0, 3}, .columns = {firstColumn, lastColumn}})),
          places(book, book.sheets[0], grid, metrics)
    {
    }
    const PlacedCell& at(uint32_t sheetRow, uint16_t sheetColumn) const
    {
        for (const PlacedCell& placed : places.cells())
            if (placed.cell && placed.cell->column == sheetColumn && grid.rows[placed.rowSlot].index == sheetRow)
                return placed;
        ADD_FAILURE() << "no cell placed at " << sheetRow << "," << sheetColumn;
        return places.cells().front();
    }
    SheetMetrics metrics;
    PageGrid grid;
    CellPlaces places;
};

}  // namespace

TEST(CellPlaces, WideTextReachesOverFreeNeighboursOnTheSidesItsAlignmentGivesIt)
{
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 2, "C1");
    setText(book, sheet, 1, 2, "C2");
    setNumber(sheet, 1, 3, 1);  // D2 stops text from C2 going right
    const Page page(book, 0, 5);
    struct Case {
        uint32_t row;
        HorizontalAlign align;
        double textWidth;
        Box expected;
    };
    const Case cases[] = {
        {0, HorizontalAlign::General, 40, {2 * column, 0, column, row}},           // fits: its own cell
        {0, HorizontalAlign::General, 90, {2 * column, 0, 2 * column, row}},       // one neighbour is enough
        {0, HorizontalAlign::Left, 100, {2 * column, 0, 3 * column, row}},         // a whole cell for the last points
        {0, HorizontalAlign::Right, 90, {column, 0, 2 * column, row}},             // leftwards
        {0, HorizontalAlign::Right, 200, {0, 0, 3 * column, row}},                 // up to the page's first column
        {0, HorizontalAlign::Center, 144, {column, 0, 3 * column, row}},           // half to each side
        {0, HorizontalAlign::CenterAcross, 144, {column, 0, 3 * column, row}},
        {1, HorizontalAlign::General, 100, {2 * column, row, column, row}},        // the neighbour is in use
        {1, HorizontalAlign::Center, 144, {column, row, 2 * column, row}},         // only the free side
    };
    for (const Case& c : cases)
        expectBox(page.places.overflowBox(page.at(c.row, 2), c.textWidth, c.align), c.expected,
                  "row " + std::to_string(c.row) + " align " + std::to_string(static_cast<int>(c.align)) + " width " +
                      std::to_string(c.textWidth));
}

TEST(CellPlaces, MergedRangesAndCellsCentredAcrossLayTextOutOverAllTheirColumns)
{
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.horizontal = HorizontalAlign::CenterAcross});
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "Merged");
    sheet.mergedRanges.push_back({0, 1, 0, 3});  // A1:D2
    setText(book, sheet, 2, 0, "Across", 1);
    sheet.rows.back().cells.push_back({.column = 1, .format = 1});
    sheet.rows.back().cells.push_back({.column = 2, .format = 1});
    setNumber(sheet, 2, 4, 1);  // E3: not part of the centring

    struct Case {
        uint32_t firstColumn;  // of the page
        uint32_t row;
        uint16_t column;
        Box box, aligned;
    };
    const Case cases[] = {
        // The merged range on one page, and cut by the page's left edge: laid out over all four
        // columns, printed in the two the page shows.
        {0, 0, 0, {0, 0, 4 * column, 2 * row}, {0, 0, 4 * column, 2 * row}},
        {2, 0, 0, {0, 0, 2 * column, 2 * row}, {-2 * column, 0, 4 * column, 2 * row}},
        // Centred across A3:C3, on one page and on a page that starts at B.
        {0, 2, 0, {0, 2 * row, column, row}, {0, 2 * row, 3 * column, row}},
        {1, 2, 0, {0, 2 * row, 0, row}, {-column, 2 * row, 3 * column, row}},
    };
    for (const Case& c : cases) {
        const Page page(book, c.firstColumn, c.firstColumn + 5);
        const std::string what = "page from column " + std::to_string(c.firstColumn) + ", row " + std::to_string(c.row);
        const PlacedCell& placed = page.at(c.row, c.column);
        expectBox(placed.box, c.box, what);
        expectBox(page.places.alignedBox(placed), c.aligned, what);
        if (placed.merged) {
            ASSERT_EQ(page.places.mergedBoxes().size(), 1u) << what;
            expectBox(page.places.mergedBoxes()[0], c.box, what);
            expectBox(page.places.overflowBox(placed, 1000, HorizontalAlign::General), c.box, what + ": stays inside");
        }
    }
}

TEST(CellPlaces, TextFromLeftOfThePageRunsOntoItUnlessTitleColumnsStandInTheWay)
{
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "A long heading that runs on over the empty cells to its right");
    setNumber(sheet, 1, 0, 7);  // numbers never run on
    {
        const Page page(book, 2, 7);
        const PlacedCell& placed = page.at(0, 0);
        EXPECT_TRUE(placed.offPage);
        expectBox(placed.box, {0, 0, 0, row}, "nothing of its own on the page");
        expectBox(placed.textBox, {-2 * column, 0, 2 * column, row}, "its cell and the empty one up to the page");
        expectBox(page.places.overflowBox(placed, 200, HorizontalAlign::General), {-2 * column, 0, 5 * column, row},
                  "on over the page's first columns");
        EXPECT_EQ(std::count_if(page.places.cells().begin(), page.places.cells().end(),
                                [](const PlacedCell& cell) { return cell.offPage; }),
                  1);
    }
    sheet.pageSetup.titleColumns = std::pair<uint16_t, uint16_t>{0, 0};
    const Page titled(book, 2, 7);
    for (const PlacedCell& placed : titled.places.cells())
        EXPECT_FALSE(placed.offPage);
}

TEST(CellPlaces, TextLaidOutPastThePageEdgesIsClippedToThePage)
{
    Workbook book = workbookWithSheet();
    setText(book, book.sheets[0], 0, 0, "x");
    const Page page(book, 0, 5);  // six columns: the page ends at 288
    struct Case {
        Box clip, laidOut;
        std::optional<Box> expected;
    };
    const Case cases[] = {
        {{10, 0, 100, row}, {10, 0, 100, row}, std::nullopt},
        {{200, 0, 150, row}, {200, 0, 150, row}, Box{200, 0, 88, row}},
        {{-50, 0, 100, row}, {-50, 0, 100, row}, Box{0, 0, 50, row}},
        {{-50, 0, 400, row}, {-50, 0, 400, row}, Box{0, 0, 288, row}},
        {{300, 0, 20, row}, {200, 0, 150, row}, Box{300, 0, 0, row}},  // a clip wholly off the page
    };
    for (const Case& c : cases) {
        const std::optional<Box> kept = page.places.keptToPage(c.clip, c.laidOut);
        ASSERT_EQ(kept.has_value(), c.expected.has_value()) << c.clip.x;
        if (kept)
            expectBox(*kept, *c.expected, "clip from " + std::to_string(c.clip.x));
    }
}

TEST(SpillRanges, EachRowsLastTextTakesInTheColumnsItsWidthNeeds)
{
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.horizontal = HorizontalAlign::Right});
    book.formats.push_back(CellFormat{.wrap = true});
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "fits");
    setText(book, sheet, 1, 0, "three columns");
    setText(book, sheet, 2, 0, "stopped by a merge");
    sheet.mergedRanges.push_back({2, 2, 2, 3});
    setText(book, sheet, 3, 0, "right-aligned", 1);
    setText(book, sheet, 4, 0, "wrapped", 2);
    setText(book, sheet, 5, 0, "not last");
    setText(book, sheet, 5, 5, "last");
    const SheetMetrics metrics(sheet, 7);
    // Every text but the first measures 100 points: more than a column less its padding of 3,
    // more than two columns less it too.
    const auto ranges = spillRanges(book, sheet, metrics, [](const CellFormat&, const CellContent& content) {
        return content.text == "fits" ? 45.0 : 100.0;
    });
    const std::vector<CellRange> expected{{1, 1, 0, 2}, {2, 2, 0, 1}, {5, 5, 5, 7}};
    EXPECT_EQ(ranges, expected);
}
