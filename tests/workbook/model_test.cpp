#include <gtest/gtest.h>

#include "workbook/model/model.h"

using namespace kx::workbook;

TEST(SheetLookup, FindsCellsRowsAndColumnsAndMissesGaps)
{
    Sheet sheet;
    sheet.rows.push_back({.index = 2, .cells = {{.column = 1}, {.column = 5}}});
    sheet.rows.push_back({.index = 7});
    sheet.columns.push_back({.firstColumn = 3, .lastColumn = 6, .width = 512});

    EXPECT_NE(sheet.cell(2, 5), nullptr);
    EXPECT_EQ(sheet.cell(2, 4), nullptr);
    EXPECT_EQ(sheet.cell(3, 1), nullptr);
    EXPECT_NE(sheet.row(7), nullptr);
    EXPECT_EQ(sheet.row(6), nullptr);
    EXPECT_EQ(sheet.column(2), nullptr);
    EXPECT_EQ(sheet.column(6)->width, 512);
    EXPECT_EQ(sheet.column(7), nullptr);
}

TEST(WorkbookColors, FixedPaletteAndAutomatic)
{
    Workbook book;
    book.palette.assign(56, Color{1, 2, 3});
    const Color automatic{9, 9, 9};
    EXPECT_EQ(book.color(2, automatic), (Color{255, 0, 0}));
    EXPECT_EQ(book.color(8, automatic), (Color{1, 2, 3}));
    EXPECT_EQ(book.color(0x7FFF, automatic), automatic);
}

TEST(WorkbookNumberFormats, FileFormatsOverrideBuiltIns)
{
    Workbook book;
    book.numberFormats.push_back({164, "0.000"});
    EXPECT_EQ(book.numberFormatCode(164), "0.000");
    EXPECT_EQ(book.numberFormatCode(14), "m/d/yyyy");
    EXPECT_EQ(book.numberFormatCode(999), "General");
}
