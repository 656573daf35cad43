// End-to-end prints through Ghostscript, checked with pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "print_test_support.h"
#include "workbook/print.h"

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
    Workbook book = workbookWithSheet("Costs");
    book.sheets.push_back(Sheet{.name = "Totals"});
    setText(book, book.sheets[0], 0, 0, "one");
    setText(book, book.sheets[1], 0, 0, "two");
    for (Sheet& sheet : book.sheets) {
        sheet.pageSetup.header = "&LSheet &A&RFile &F";
        sheet.pageSetup.footer = "&CPage &P of &N && more";
    }
    const auto pdf = printToPdf(book, {.documentTitle = "ledger.xls"});
    const std::string first = pdfText(pdf, 1), second = pdfText(pdf, 2);
    EXPECT_NE(first.find("Sheet Costs"), std::string::npos) << first;
    EXPECT_NE(first.find("File ledger.xls"), std::string::npos) << first;
    EXPECT_NE(first.find("Page 1 of 2 & more"), std::string::npos) << first;
    EXPECT_NE(second.find("Page 2 of 2"), std::string::npos) << second;

    book.sheets[1].pageSetup.firstPageNumber = 7;
    EXPECT_NE(pdfText(printToPdf(book), 2).find("Page 7 of 2"), std::string::npos);
}

TEST_F(PrintRender, NothingToPrintAndFailuresLeaveNoFileBehind)
{
    const auto expectError = [](const Workbook& book, const PrintJob& job, ErrorCode code) {
        try {
            printWorkbook(book, job);
            ADD_FAILURE() << "expected error " << static_cast<int>(code);
        } catch (const WorkbookError& error) {
            EXPECT_EQ(error.code(), code) << error.what();
        }
    };
    const std::string output = scratch.path("out.ps").string();
    expectError(workbookWithSheet(), {.outputPath = output}, ErrorCode::NothingToPrint);

    Workbook book = workbookWithSheet();
    setText(book, book.sheets[0], 0, 0, "only page");
    expectError(book, {.outputPath = output, .fromPage = 2, .toPage = 5}, ErrorCode::NothingToPrint);
    expectError(book, {.outputPath = scratch.path("missing/out.ps").string()}, ErrorCode::PrintFailed);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path("")));

    // A failed print keeps the file that was there before.
    { std::ofstream(output) << "previous"; }
    expectError(book, {.outputPath = output, .fromPage = 4}, ErrorCode::NothingToPrint);
    std::ifstream kept(output);
    std::string content((std::istreambuf_iterator<char>(kept)), {});
    EXPECT_EQ(content, "previous");
}
