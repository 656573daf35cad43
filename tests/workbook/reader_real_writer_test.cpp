// A workbook written by LibreOffice from tests/data/reader/features.fods (make-features.sh):
// the model must hold what a real writer stored, not only what the tests' own builder writes.
#include <gtest/gtest.h>

#include "workbook/xls/reader.h"

using namespace kx::workbook;

namespace {

const Workbook& features()
{
    static const Workbook book = openWorkbook(KX_TEST_DATA_DIR "/reader/features.xls");
    return book;
}

const Sheet& report()
{
    return features().sheets.at(0);
}

const Cell& cellAt(uint32_t row, uint16_t column)
{
    const Cell* cell = report().cell(row, column);
    if (!cell)
        throw std::runtime_error("no cell");
    return *cell;
}

}  // namespace

TEST(RealWriter, SheetsAndPageSetup)
{
    ASSERT_EQ(features().sheets.size(), 2u);
    EXPECT_EQ(report().name, "Report");
    EXPECT_EQ(features().sheets[1].visibility, Visibility::Hidden);
    EXPECT_EQ(features().sheets[1].cell(0, 0)->number, 7);

    const PageSetup& setup = report().pageSetup;
    EXPECT_EQ(setup.paperSize, 5);
    EXPECT_EQ(setup.scale, 75);
    EXPECT_TRUE(setup.landscape);
    EXPECT_FALSE(setup.fitToPages);
    EXPECT_NEAR(setup.leftMargin, 0.5, 0.01);
    EXPECT_NEAR(setup.rightMargin, 0.6, 0.01);
    EXPECT_TRUE(setup.centerHorizontally);
    EXPECT_FALSE(setup.centerVertically);
    EXPECT_TRUE(setup.gridlines);
    EXPECT_TRUE(setup.headings);
    EXPECT_EQ(setup.header, "&CQuarterly &P");
    EXPECT_EQ(setup.footer, "&RConfidential");
    EXPECT_EQ(setup.rowBreaks, (std::vector<uint32_t>{9}));  // "second page" starts one
    EXPECT_EQ(setup.printArea, (std::vector<CellRange>{{0, 29, 0, 4}}));
    EXPECT_EQ(setup.titleRows, (std::pair<uint32_t, uint32_t>{0, 0}));
    EXPECT_FALSE(setup.titleColumns);
}

TEST(RealWriter, ValuesFormatsAndComments)
{
    const Workbook& book = features();
    EXPECT_EQ(book.strings.at(cellAt(0, 0).text).utf8, "Revenue");
    const CellFormat& heading = book.formats.at(cellAt(0, 0).format);
    const Font& headingFont = book.fonts.at(heading.fontIndex);
    EXPECT_TRUE(headingFont.bold);
    EXPECT_TRUE(headingFont.italic);
    EXPECT_EQ(headingFont.heightTwips, 280);
    EXPECT_EQ(heading.fillPattern, 1);
    EXPECT_EQ(book.color(heading.fillForeground, {}), (Color{255, 255, 0}));
    EXPECT_EQ(heading.left.style, BorderStyle::Thin);

    const RichText& rich = book.strings.at(cellAt(0, 4).text);
    EXPECT_EQ(rich.utf8, "plain bold");
    ASSERT_FALSE(rich.runs.empty());
    const auto boldRun =
        std::find_if(rich.runs.begin(), rich.runs.end(), [](const FormatRun& r) { return r.firstChar == 6; });
    ASSERT_NE(boldRun, rich.runs.end());
    EXPECT_TRUE(book.fonts.at(boldRun->fontIndex).bold);

    EXPECT_EQ(cellAt(1, 0).number, 1234.5);
    EXPECT_EQ(cellAt(1, 1).number, 45366);  // 2024-03-15
    EXPECT_NE(book.numberFormatCode(book.formats.at(cellAt(1, 1).format).numberFormat).find("yyyy"), std::string::npos);
    EXPECT_EQ(cellAt(1, 2).number, 0.125);
    EXPECT_EQ(book.numberFormatCode(book.formats.at(cellAt(1, 2).format).numberFormat), "0.0%");
    EXPECT_EQ(cellAt(1, 3).kind, CellKind::Boolean);
    EXPECT_EQ(book.strings.at(cellAt(3, 0).text).utf8, "Ελληνικά 中文 Привет");
    const CellFormat& wrapped = book.formats.at(cellAt(3, 0).format);
    EXPECT_TRUE(wrapped.wrap);
    EXPECT_EQ(wrapped.horizontal, HorizontalAlign::Center);
    EXPECT_EQ(cellAt(3, 1).number, -0.001);
    EXPECT_EQ(cellAt(3, 2).kind, CellKind::Error);
    EXPECT_EQ(cellAt(3, 2).number, 7);  // #DIV/0!

    ASSERT_EQ(report().comments.size(), 1u);
    EXPECT_EQ(report().comments[0].cell, (CellRef{1, 0}));
    EXPECT_EQ(report().comments[0].author, "Ann Author");
    EXPECT_EQ(report().comments[0].text, "Check this figure");
}

TEST(RealWriter, RowsColumnsAndMerges)
{
    const Sheet& sheet = report();
    EXPECT_EQ(sheet.mergedRanges, (std::vector<CellRange>{{0, 0, 1, 2}}));
    ASSERT_NE(sheet.column(3), nullptr);
    EXPECT_TRUE(sheet.column(3)->hidden);
    EXPECT_GT(sheet.column(0)->width, sheet.column(1)->width);
    EXPECT_EQ(sheet.row(0)->heightTwips, 720);
    EXPECT_TRUE(sheet.row(0)->customHeight);
    EXPECT_TRUE(sheet.row(2)->hidden);
}
