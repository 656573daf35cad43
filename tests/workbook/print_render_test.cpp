// End-to-end prints through Ghostscript, checked with pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "print_test_support.h"
#include "workbook/canvas/font_metrics.h"
#include "workbook/print/print.h"
#include "workbook/xls/reader.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

class PrintRender : public ::testing::Test {
protected:
    // Prints the workbook and converts the PostScript to PDF; fails the test when either step does.
    std::filesystem::path printToPdf(const Workbook& workbook, PrintJob job = {})
    {
        job.outputPath = scratch.path("print.ps").string();
        printWorkbook(workbook, job);
        const auto pdf = scratch.path("print.pdf");
        std::filesystem::remove(pdf);
        EXPECT_TRUE(convertToPdf(job.outputPath, pdf));
        return pdf;
    }

    ScratchFolder scratch;
};

}  // namespace

TEST_F(PrintRender, CellTextsAreSearchableInReadingOrder)
{
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "Quarter");
    setText(book, sheet, 0, 1, "Revenue");
    setText(book, sheet, 1, 0, "First");
    setNumber(sheet, 1, 1, 1234.5);
    setText(book, sheet, 2, 0, "Second");
    setNumber(sheet, 2, 1, 99);

    const auto pdf = printToPdf(book);
    EXPECT_EQ(pdfPageCount(pdf), 1);
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("Quarter"), std::string::npos) << text;
    EXPECT_LT(text.find("Quarter"), text.find("First"));
    EXPECT_LT(text.find("First"), text.find("Second"));
    EXPECT_NE(text.find("1234.5"), std::string::npos) << text;
}

TEST_F(PrintRender, LettersAFontWouldJoinStaySearchable)
{
    Workbook book = workbookWithSheet();
    book.fonts[0] = Font{.name = "Calibri", .heightTwips = 220};  // its stand-in joins tt, ft and fi
    book.sheets[0].pageSetup.header = "&CBottom office";
    setText(book, book.sheets[0], 0, 0, "Bottom Left fit office");
    const std::string text = pdfText(printToPdf(book));
    EXPECT_NE(text.find("Bottom Left fit office"), std::string::npos) << text;
    EXPECT_NE(text.find("Bottom office"), std::string::npos) << text;
}

TEST_F(PrintRender, EveryVisibleSheetInOrderAndPageRangeOverTheWholePrint)
{
    Workbook book = workbookWithSheet("First");
    book.sheets.push_back(Sheet{.name = "Hidden", .visibility = Visibility::Hidden});
    book.sheets.push_back(Sheet{.name = "Chart", .kind = SheetKind::Chart});
    book.sheets.push_back(Sheet{.name = "Last"});
    setText(book, book.sheets[0], 0, 0, "alpha");
    setText(book, book.sheets[0], 1, 0, "beta");
    book.sheets[0].pageSetup.rowBreaks = {1};
    setText(book, book.sheets[1], 0, 0, "secret");
    setText(book, book.sheets[3], 0, 0, "gamma");

    auto pdf = printToPdf(book);
    ASSERT_EQ(pdfPageCount(pdf), 3);
    EXPECT_NE(pdfText(pdf, 1).find("alpha"), std::string::npos);
    EXPECT_NE(pdfText(pdf, 2).find("beta"), std::string::npos);
    EXPECT_NE(pdfText(pdf, 3).find("gamma"), std::string::npos);
    EXPECT_EQ(pdfText(pdf).find("secret"), std::string::npos);

    pdf = printToPdf(book, {.fromPage = 2, .toPage = 3});
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_NE(pdfText(pdf, 1).find("beta"), std::string::npos);

    pdf = printToPdf(book, {.fromPage = 3, .toPage = 99});
    EXPECT_EQ(pdfPageCount(pdf), 1);
}

TEST_F(PrintRender, HeaderAndFooterFieldsAndPageNumbersAcrossSheets)
{
    // Two pages of the first sheet and one of the second, all with the same header and footer:
    // what changes from page to page changes in print, what stays prints on every page.
    Workbook book = workbookWithSheet("Costs");
    book.sheets.push_back(Sheet{.name = "Totals"});
    setText(book, book.sheets[0], 0, 0, "one");
    setText(book, book.sheets[0], 1, 0, "more");
    book.sheets[0].pageSetup.rowBreaks = {1};
    setText(book, book.sheets[1], 0, 0, "two");
    for (Sheet& sheet : book.sheets) {
        sheet.pageSetup.header = "&LSheet &A&RFile &F";
        sheet.pageSetup.footer = "&CPage &P of &N && more";
    }
    const auto pdf = printToPdf(book, {.documentTitle = "ledger.xls"});
    ASSERT_EQ(pdfPageCount(pdf), 3);
    const std::string pages[] = {pdfText(pdf, 1), pdfText(pdf, 2), pdfText(pdf, 3)};
    for (int page = 1; page <= 3; ++page) {
        const std::string& text = pages[page - 1];
        EXPECT_NE(text.find(page < 3 ? "Sheet Costs" : "Sheet Totals"), std::string::npos) << text;
        EXPECT_NE(text.find("File ledger.xls"), std::string::npos) << text;
        EXPECT_NE(text.find("Page " + std::to_string(page) + " of 3 & more"), std::string::npos) << text;
    }

    book.sheets[1].pageSetup.firstPageNumber = 7;
    EXPECT_NE(pdfText(printToPdf(book), 3).find("Page 7 of 3"), std::string::npos);
}

TEST_F(PrintRender, PagesLeftOutAreNotNumbered)
{
    // Values in A1 and far down and across: the pages between show nothing and do not print,
    // so the page after them is the second of two.
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "first");
    setText(book, sheet, 300, 40, "last");
    sheet.pageSetup.footer = "&CPage &P of &N";
    const auto pdf = printToPdf(book);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_NE(pdfText(pdf, 2).find("Page 2 of 2"), std::string::npos) << pdfText(pdf, 2);
}

TEST_F(PrintRender, NothingToPrintAndFailuresLeaveNoFileBehind)
{
    const auto expectError = [](const Workbook& book, const PrintJob& job, ErrorCode code,
                                const std::string& message = {}) {
        try {
            printWorkbook(book, job);
            ADD_FAILURE() << "expected error " << static_cast<int>(code);
        } catch (const WorkbookError& error) {
            EXPECT_EQ(error.code(), code) << error.what();
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    };
    const std::string output = scratch.path("out.ps").string();
    expectError(workbookWithSheet(), {.outputPath = output}, ErrorCode::NothingToPrint);

    Workbook book = workbookWithSheet();
    setText(book, book.sheets[0], 0, 0, "only page");
    expectError(book, {.outputPath = output, .fromPage = 2, .toPage = 5}, ErrorCode::NothingToPrint,
                "no pages from 2 to 5; it prints 1 page.");
    expectError(book, {.outputPath = scratch.path("missing/out.ps").string()}, ErrorCode::PrintFailed);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path("")));

    // A failed print keeps the file that was there before.
    { std::ofstream(output) << "previous"; }
    expectError(book, {.outputPath = output, .fromPage = 4}, ErrorCode::NothingToPrint);
    std::ifstream kept(output);
    std::string content((std::istreambuf_iterator<char>(kept)), {});
    EXPECT_EQ(content, "previous");
}

TEST_F(PrintRender, NumbersThatDoNotFitShowHashesAndTextSpills)
{
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.numberFormat = 4});  // #,##0.00
    Sheet& sheet = book.sheets[0];
    setNumber(sheet, 0, 0, 1234567.891, 1);
    setNumber(sheet, 1, 0, 1234.5, 1);
    setNumber(sheet, 2, 0, 123456789012.0);  // General gives up digits first
    const std::string text = pdfText(printToPdf(book));
    EXPECT_NE(text.find("####"), std::string::npos) << text;
    EXPECT_EQ(text.find("567.89"), std::string::npos) << text;
    EXPECT_NE(text.find("1,234.50"), std::string::npos) << text;
    EXPECT_NE(text.find("1.23E+11"), std::string::npos) << text;
}

TEST_F(PrintRender, GridlinesAndHeadingsChangeThePage)
{
    Workbook book = workbookWithSheet();
    for (uint32_t row = 0; row < 20; ++row)
        setNumber(book.sheets[0], row, 5, row);
    const double plain = pdfInk(printToPdf(book));
    book.sheets[0].pageSetup.gridlines = true;
    const double gridded = pdfInk(printToPdf(book));
    EXPECT_GT(gridded, plain * 1.5);

    book.sheets[0].pageSetup.headings = true;
    const std::string text = pdfText(printToPdf(book));
    EXPECT_NE(text.find("F"), std::string::npos);
    EXPECT_NE(text.find("20"), std::string::npos);
    EXPECT_NE(text.find("19"), std::string::npos);  // the value of row 20 as well as the row number
}

TEST_F(PrintRender, RowAndColumnFormatsFillTheCellsTheFileDoesNotStore)
{
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.fillPattern = 1, .fillForeground = 8});  // palette black
    book.palette.assign(56, Color{0, 0, 0});
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "a");
    setNumber(sheet, 3, 6, 1);
    const double plain = pdfInk(printToPdf(book));
    sheet.rows[0].format = 1;
    const double filledRow = pdfInk(printToPdf(book));
    EXPECT_GT(filledRow, plain + 0.002);
    sheet.rows[0].format.reset();
    sheet.columns.push_back({.firstColumn = 2, .lastColumn = 2, .width = 2340, .format = 1});
    EXPECT_GT(pdfInk(printToPdf(book)), plain + 0.002);

    sheet.pageSetup.blackAndWhite = true;  // prints without fills
    EXPECT_LT(pdfInk(printToPdf(book)), plain + 0.001);
}

TEST_F(PrintRender, CommentsAtTheEndOnPagesOfTheirOwn)
{
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "value");
    sheet.comments.push_back({.cell = {4, 1}, .author = "Ann", .text = "Ann: check the total"});
    sheet.comments.push_back({.cell = {0, 2}, .author = "Bob", .text = "Bob: first in the sheet"});
    auto pdf = printToPdf(book);
    EXPECT_EQ(pdfPageCount(pdf), 1);  // comments not asked for

    sheet.pageSetup.comments = CommentPrinting::AtEnd;
    pdf = printToPdf(book);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    const std::string comments = pdfText(pdf, 2);
    EXPECT_LT(comments.find("Cell: C1"), comments.find("Cell: B5")) << comments;
    EXPECT_NE(comments.find("Comment: Ann: check the total"), std::string::npos) << comments;
}

TEST_F(PrintRender, RichTextRotatedAndStackedCellsPrintTheirText)
{
    Workbook book = workbookWithSheet();
    book.fonts.push_back(Font{.bold = true, .underline = Underline::Double, .colorIndex = 2});
    book.formats.push_back(CellFormat{.rotation = 90});
    book.formats.push_back(CellFormat{.rotation = 255});
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "plain bold €uro");
    book.strings.back().runs = {{0, 0}, {6, 1}, {10, 0}, {99, 1}};  // the last run starts past the end
    setText(book, sheet, 1, 0, "Turned", 1);
    setText(book, sheet, 2, 0, "up", 2);
    sheet.rows[1].heightTwips = sheet.rows[2].heightTwips = 1200;
    const auto pdf = printToPdf(book);
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("plain bold €uro"), std::string::npos) << text;
    EXPECT_NE(text.find("Turned"), std::string::npos) << text;
    // The bold run prints in a bold face, which no other cell uses.
    EXPECT_NE(pdfToolOutput("pdffonts", pdf).find("Bold"), std::string::npos) << pdfToolOutput("pdffonts", pdf);
    // Stacked text puts one letter under the other.
    const auto u = pdfWordPosition(pdf, "u"), p = pdfWordPosition(pdf, "p");
    ASSERT_TRUE(u && p) << text;
    EXPECT_NEAR(u->first, p->first, 2);
    EXPECT_GT(p->second, u->second + 5);
}

TEST_F(PrintRender, PaperOrientationMarginsAndCentringPlaceTheGrid)
{
    Workbook book = workbookWithSheet();
    setText(book, book.sheets[0], 0, 0, "Corner");
    PageSetup& setup = book.sheets[0].pageSetup;
    setup.paperSize = 5;  // Legal
    setup.landscape = true;
    auto pdf = printToPdf(book);
    EXPECT_NE(pdfPageSize(pdf).find("1008 x 612"), std::string::npos) << pdfPageSize(pdf);
    auto corner = pdfWordPosition(pdf, "Corner");
    ASSERT_TRUE(corner);
    EXPECT_NEAR(corner->first, 54 + 1.5, 1);  // left margin and the cell's padding
    EXPECT_NEAR(corner->second, 72, 3);       // top margin

    setup.centerHorizontally = setup.centerVertically = true;
    corner = pdfWordPosition(printToPdf(book), "Corner");
    ASSERT_TRUE(corner);
    const double printedColumn = 48 * paperColumnScale(book.fonts.front());  // 64 px, widened on paper
    EXPECT_NEAR(corner->first, (1008 - printedColumn) / 2 + 1.5, 1);
    EXPECT_NEAR(corner->second, (612 - 12.75) / 2, 3);
}

TEST_F(PrintRender, ShrinkToFitKeepsTheTextInsideItsCell)
{
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.shrinkToFit = true});
    setText(book, book.sheets[0], 0, 0, "shrink to fit this long label", 1);
    setNumber(book.sheets[0], 0, 1, 7);
    const auto label = pdfWordPosition(printToPdf(book), "label");
    ASSERT_TRUE(label);
    EXPECT_LT(label->first, 54 + 48);  // the cell ends 48 pt after the left margin
}

TEST_F(PrintRender, NumbersFitByTheSpreadsheetProgramsScreenWidths)
{
    // In a 64-pixel column of Calibri 11 the spreadsheet program shows $1,530.00, though its
    // outlines are a little wider than the cell's room on paper.
    Workbook book = workbookWithSheet();
    book.fonts[0] = Font{.name = "Calibri", .heightTwips = 220};
    book.numberFormats.push_back({164, "\"$\"#,##0.00"});
    book.formats.push_back(CellFormat{.numberFormat = 164});
    book.sheets[0].standardColumnWidth = 2340;
    setNumber(book.sheets[0], 0, 0, 1530, 1);
    setNumber(book.sheets[0], 1, 0, 1115300, 1);
    const std::string text = pdfText(printToPdf(book));
    EXPECT_NE(text.find("$1,530.00"), std::string::npos) << text;
    EXPECT_EQ(text.find("1,115,300"), std::string::npos) << text;
    EXPECT_NE(text.find("###"), std::string::npos) << text;
}

TEST_F(PrintRender, TextOfEveryFontSubsetStaysSearchable)
{
    // Cyrillic and Latin of one font end in two subsets: Ghostscript used to merge subsets of
    // the same name and print one of them without its text (the numbers of this workbook).
    const std::filesystem::path source = corpusFolder() / "poi-57925.xls";
    if (!std::filesystem::exists(source))
        GTEST_SKIP() << "no corpus at " << source << " (set KX_CORPUS_DIR)";
    const std::string text = pdfText(printToPdf(openWorkbook(source.string())));
    EXPECT_NE(text.find("751,422.10"), std::string::npos) << text;
    EXPECT_NE(text.find("19,803,022.10"), std::string::npos);
    EXPECT_NE(text.find("остатков"), std::string::npos);
}

TEST_F(PrintRender, OutOfRangeModelValuesPrintWhatIsOnTheSheet)
{
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "kept");
    sheet.rows[0].cells.push_back({.column = 300, .format = 999, .kind = CellKind::Text, .text = 999});
    sheet.rows.push_back({.index = 200000, .cells = {{.column = 1, .kind = CellKind::Number, .number = 1}}});
    sheet.rows[0].cells.insert(sheet.rows[0].cells.begin() + 1,
                               Cell{.column = 1, .kind = CellKind::Error, .number = 1e300});
    // Past the sheet's end; its empty first cell inks no page (a whole sheet merged under a
    // value would cross more pages than a print may have).
    sheet.mergedRanges.push_back({1, 4000000, 0, 60000});
    sheet.columns.push_back({.firstColumn = 250, .lastColumn = 60000, .width = 65535});
    sheet.comments.push_back({.cell = {4000000, 60000}, .text = "far away"});
    PageSetup& setup = sheet.pageSetup;
    setup.titleRows = std::make_pair(0u, 4000000u);
    setup.titleColumns = std::make_pair<uint16_t, uint16_t>(0, 60000);
    setup.leftMargin = std::numeric_limits<double>::quiet_NaN();
    setup.headerMargin = std::numeric_limits<double>::infinity();
    setup.comments = CommentPrinting::AtEnd;
    setup.header = "&\"Nonexistent Font,Bold\"&400&P";
    book.formats[0].fontIndex = 77;

    const auto pdf = printToPdf(book);
    EXPECT_GE(pdfPageCount(pdf), 2);
    EXPECT_NE(pdfText(pdf).find("kept"), std::string::npos);
}

TEST_F(PrintRender, MergedRangeCutByThePageEdgeLaysItsTextOutOverTheWholeRange)
{
    // Nine columns of 51 pt fit across A4 at 54 pt margins: I1:L1 has only I on the first page.
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.numberFormat = 4});  // #,##0.00
    book.formats.push_back(CellFormat{.horizontal = HorizontalAlign::Center});
    Sheet& sheet = book.sheets[0];
    setNumber(sheet, 0, 8, 1234567.891, 1);
    sheet.mergedRanges.push_back({0, 0, 8, 11});
    setText(book, sheet, 1, 8, "Opening words of a heading centred over four columns", 2);
    sheet.mergedRanges.push_back({1, 1, 8, 11});
    setNumber(sheet, 2, 0, 1);

    const auto pdf = printToPdf(book);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("1,234,567.89"), std::string::npos) << text;
    EXPECT_EQ(text.find('#'), std::string::npos) << text;
    // The heading starts on the first page and goes on over the second, not again from its start;
    // its ends, wider than the range, are cut off on both sides.
    const std::string first = pdfText(pdf, 1);
    EXPECT_NE(first.find("words"), std::string::npos) << first;
    EXPECT_EQ(first.find("Opening"), std::string::npos) << first;
    const std::string second = pdfText(pdf, 2);
    EXPECT_EQ(second.find("words"), std::string::npos) << second;
    EXPECT_NE(second.find("heading"), std::string::npos) << second;
    EXPECT_EQ(second.find("columns"), std::string::npos) << second;
}

TEST_F(PrintRender, WordsTooLongForTheirLineBreakWithoutHyphens)
{
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.wrap = true});
    setText(book, book.sheets[0], 0, 0, "Действительно", 1);
    const std::string text = pdfText(printToPdf(book));
    EXPECT_EQ(text.find("\u2010"), std::string::npos) << text;
    EXPECT_EQ(text.find('-'), std::string::npos) << text;
}

TEST_F(PrintRender, TextRunningPastThePageEdgeGoesOnOnTheNextPage)
{
    // Nine columns of 51 pt fit across A4: text from A1 reaches the second page's J1 and beyond.
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    const std::string filler(40, ' ');
    setText(book, sheet, 0, 0, "Headword" + filler + "padding padding padding padding padding padding padding padding"
                               " padding padding padding padding padding padding padding Tailword");
    setText(book, sheet, 1, 0, "Blocked" + filler + "padding padding padding padding padding padding padding padding"
                               " padding padding padding padding padding padding padding Stopped");
    setText(book, sheet, 1, 1, "x");
    setNumber(sheet, 2, 12, 7);

    const auto pdf = printToPdf(book);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_NE(pdfText(pdf, 1).find("Headword"), std::string::npos) << pdfText(pdf, 1);
    const std::string second = pdfText(pdf, 2);
    EXPECT_NE(second.find("Tailword"), std::string::npos) << second;
    EXPECT_EQ(second.find("Headword"), std::string::npos) << second;
    EXPECT_EQ(second.find("Stopped"), std::string::npos) << second;
}

TEST_F(PrintRender, OnlyTheFirst1024CharactersOfACellsTextPrint)
{
    // Words of six characters, the first of two bytes in UTF-8: 170 whole words, then "я017".
    std::string text;
    for (int word = 1; word <= 400; ++word)
        text += "я" + std::to_string(10000 + word).substr(1) + " ";
    Workbook book = workbookWithSheet();
    setText(book, book.sheets[0], 0, 0, text);

    const std::string printed = pdfText(printToPdf(book));
    EXPECT_NE(printed.find("я0170 я017"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("я0171"), std::string::npos) << printed;
}

TEST_F(PrintRender, TextCentredAcrossCellsOnTwoPagesIsCentredOverAllOfThem)
{
    // I1 centred across I1:L1: only I is on the first page.
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.horizontal = HorizontalAlign::CenterAcross});
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 8, "Leftmost heading words centred across four columns Rightmost", 1);
    for (uint16_t column = 9; column <= 11; ++column)
        sheet.rows[0].cells.push_back({.column = column, .format = 1});
    setNumber(sheet, 1, 11, 1);

    const auto pdf = printToPdf(book);
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_NE(pdfText(pdf, 1).find("Leftmost"), std::string::npos) << pdfText(pdf, 1);
    EXPECT_EQ(pdfText(pdf, 1).find("Rightmost"), std::string::npos) << pdfText(pdf, 1);
    EXPECT_NE(pdfText(pdf, 2).find("four columns"), std::string::npos) << pdfText(pdf, 2);
}

TEST_F(PrintRender, APageOfTurnedTextStaysUpright)
{
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.rotation = 180});
    for (uint16_t column = 0; column < 8; ++column)
        setText(book, book.sheets[0], 0, column, "Heading turned up the page", 1);
    book.sheets[0].rows[0].heightTwips = 3000;
    for (const bool landscape : {false, true}) {
        book.sheets[0].pageSetup.landscape = landscape;
        const auto pdf = printToPdf(book);
        EXPECT_EQ(pdfPageRotation(pdf), 0) << "landscape " << landscape;
        const std::string size = pdfPageSize(pdf);
        EXPECT_NE(size.find(landscape ? "842 x 59" : "595 x 842"), std::string::npos) << size;
    }
}

TEST_F(PrintRender, TextCutByItsNeighbourCarriesOnlyWhatShows)
{
    Workbook book = workbookWithSheet();
    Sheet& sheet = book.sheets[0];
    setText(book, sheet, 0, 0, "Shown hidden");
    setText(book, sheet, 0, 1, "next");
    setText(book, sheet, 1, 0, "Unblocked words run on");
    const std::string text = pdfText(printToPdf(book));
    EXPECT_NE(text.find("Shown"), std::string::npos) << text;
    EXPECT_EQ(text.find("hidden"), std::string::npos) << text;
    EXPECT_NE(text.find("Unblocked words run on"), std::string::npos) << text;
}
