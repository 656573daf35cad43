// Where real workbooks break into pages. Rows print at the height the file stores for them,
// default rows included, and sheets without margin records get the spreadsheet program's inch
// margins; columns print at their whole screen pixels widened by the default font's exact digit
// width over its whole-pixel one. The breaks below were checked against another spreadsheet
// engine, which breaks at the same rows and columns except where noted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "print_test_support.h"
#include "workbook/layout/drawing_geometry.h"
#include "workbook/canvas/font_metrics.h"
#include "workbook/layout/page_geometry.h"
#include "workbook/layout/pagination.h"
#include "workbook/print/print.h"
#include "workbook/xls/reader.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

struct BreakCase {
    std::string file;
    std::string sheet;
    bool firstSheet;                   // A4 portrait at 100 %, no print area, as the fidelity bench sets it
    std::vector<uint32_t> bandStarts;  // the first rows or columns of the first bands
};

enum class Direction { Rows, Columns };

// The first rows or columns of the sheet's bands, as many as expected.
std::vector<uint32_t> bandStarts(const Workbook& book, Sheet& sheet, bool firstSheet, Direction direction,
                                 size_t count)
{
    if (firstSheet) {
        sheet.pageSetup.paperSize = 9;
        sheet.pageSetup.landscape = false;
        setZoom(sheet.pageSetup, 100);
        sheet.pageSetup.printArea.clear();
    }
    const Font& font = book.fonts.front();
    const SheetMetrics metrics(sheet, maxDigitWidthPixels(font), paperColumnScale(font));
    const PageFrame frame = pageFrame(sheet.pageSetup);
    // Pages that hold only a drawing print as well.
    const SheetPagination pagination =
        paginate(book, sheet, metrics, frame.contentWidth, frame.contentHeight, 10000, drawingAreas(sheet));
    std::set<uint32_t> starts;
    for (const SheetPage& page : pagination.pages)
        starts.insert(direction == Direction::Rows ? page.rows.first : page.columns.first);
    std::vector<uint32_t> result(starts.begin(), starts.end());
    result.resize(std::min(result.size(), count));
    return result;
}

void expectBandStarts(const std::vector<BreakCase>& cases, Direction direction)
{
    for (const BreakCase& expected : cases) {
        SCOPED_TRACE(expected.file + " / " + expected.sheet);
        Workbook book = openWorkbook((corpusFolder() / expected.file).string());
        auto sheet = std::find_if(book.sheets.begin(), book.sheets.end(),
                                  [&](const Sheet& candidate) { return candidate.name == expected.sheet; });
        ASSERT_NE(sheet, book.sheets.end());
        EXPECT_EQ(bandStarts(book, *sheet, expected.firstSheet, direction, expected.bandStarts.size()),
                  expected.bandStarts);
    }
}

}  // namespace

TEST(PaginationCorpus, RowsBreakAtTheirStoredHeights)
{
    if (!std::filesystem::is_directory(corpusFolder()))
        GTEST_SKIP() << "no corpus at " << corpusFolder() << " (set KX_CORPUS_DIR)";
    const std::vector<BreakCase> cases = {
        // 56 rows of 12.75 pt to a page; printed a hair shorter, as a printer font's height over
        // the screen font's would make them, 57 would fit from the second page on.
        {"poi-bug66319.xls", "Sheet1", true, {0, 56, 112, 168}},
        {"poi-49219.xls", "Sayfa1", true, {0, 54, 108, 162}},
        {"poi-31749.xls", "_Proj", true, {0, 69, 139, 209}},
        // Twelve-point rows of a CJK default font on landscape A4 at 80 %.
        {"poi-12843-1.xls", "910729", false, {0, 40}},
        // No margin records: an inch above and below leaves 697.9 pt, and rows 0-53 need
        // 698.25 pt. The other engine's metric defaults (2.5 cm) let row 53 onto page 1.
        {"poi-45538_classic_Footer.xls", "Profile of Class", true, {0, 53}},
    };
    expectBandStarts(cases, Direction::Rows);
}

// Breaks that sit close to the page edge on either side, so that printed column widths a
// fraction of a percent wider or narrower move them.
TEST(PaginationCorpus, ColumnsBreakAtTheirPrintedWidths)
{
    if (!std::filesystem::is_directory(corpusFolder()))
        GTEST_SKIP() << "no corpus at " << corpusFolder() << " (set KX_CORPUS_DIR)";
    const std::vector<BreakCase> cases = {
        // Columns 0-6 take 487.0 of the 487.6 pt between the margins: 0.12 % wider and
        // column 6 moves to the next page.
        {"poi-49219.xls", "Sayfa1", true, {0, 7, 14}},
        // Columns 10-22 take 567.2 of the 569.4 pt between narrow margins.
        {"poi-36947.xls", "Sheet1", true, {0, 10, 23}},
        // Verdana 10: columns 0-6 would need 0.53 % more than the page has.
        {"poi-florida-data.xls", "FinalFiguresPublication", false, {0, 6, 11}},
        // Columns 0-14 would need 0.87 % more than the page has.
        {"poi-hpsf-TestThumbnail.xls", "Sheet1", true, {0, 14}},
        // Calibri 11 at 64 %: columns 0-14 need 791.7 pt of 787.5. The other engine fits them
        // (787.35 pt): it measures the digit in whole twips (111 of 111.5) and truncates each
        // column to a twip.
        {"poi-ConditionalFormattingSamples.xls", "Mountains", false, {0, 14}},
    };
    expectBandStarts(cases, Direction::Columns);
}
