// What a reader navigates by, on both ways to a PDF: printed straight to PDF, and printed to
// PostScript that Ghostscript turns into PDF.
#include <gtest/gtest.h>

#include "print_test_support.h"
#include "workbook/render/page_links.h"
#include "workbook/print/print.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

Workbook linkedWorkbook()
{
    Workbook book = workbookWithSheet("Sheet1");
    book.sheets.push_back(book.sheets.front());
    Sheet& second = book.sheets.back();
    second.name = "Übersicht (2)";
    second.pageSetup.firstPageNumber = std::nullopt;
    setText(book, book.sheets[0], 0, 0, "web");
    setText(book, book.sheets[0], 2, 1, "jump");
    setText(book, second, 4, 2, "target");
    book.sheets[0].hyperlinks = {{{0, 0, 0, 0}, "https://example.org/a(b)?q=1", ""},
                                 {{2, 2, 1, 1}, "", "'Übersicht (2)'!C5"},
                                 {{9, 9, 9, 9}, "https://example.org/unprinted", ""}};
    book.summary = {.title = "Quarterly (draft)", .subject = "Sales", .author = "Ana Núñez", .keywords = "q1"};
    return book;
}

std::filesystem::path print(const Workbook& book, PrintFormat format, const ScratchFolder& folder, PrintJob job = {})
{
    job.format = format;
    job.creator = "Korvendal XL";
    job.documentTitle = "book.xls";
    const auto pdf = folder.path("out.pdf");
    if (format == PrintFormat::Pdf) {
        job.outputPath = pdf.string();
        printWorkbook(book, job);
    } else {
        job.outputPath = folder.path("out.ps").string();
        printWorkbook(book, job);
        EXPECT_TRUE(convertToPdf(job.outputPath, pdf));
    }
    return pdf;
}

int linkAnnotations(const std::filesystem::path& pdf)
{
    const std::string bytes = pdfToolOutput("cat", pdf);
    int count = 0;
    for (const char* spelling : {"/Subtype /Link", "/Subtype/Link"})
        for (size_t at = bytes.find(spelling); at != std::string::npos; at = bytes.find(spelling, at + 1))
            ++count;
    return count;
}

class BothRoutes : public ::testing::TestWithParam<PrintFormat> {};

}  // namespace

TEST_P(BothRoutes, BookmarkPerSheetLinksAndDocumentInformation)
{
    ScratchFolder folder;
    const auto pdf = print(linkedWorkbook(), GetParam(), folder);
    const std::string outline = pdfToolOutput("pdftohtml -xml -stdout -i -q", pdf);
    EXPECT_NE(outline.find("<item page=\"1\">Sheet1</item>"), std::string::npos) << outline;
    EXPECT_NE(outline.find("<item page=\"2\">Übersicht (2)</item>"), std::string::npos) << outline;

    const std::string info = pdfToolOutput("pdfinfo", pdf);
    for (const char* line : {"Title:           Quarterly (draft)", "Author:          Ana Núñez",
                             "Subject:         Sales", "Keywords:        q1", "Creator:         Korvendal XL",
                             "CreationDate:"})
        EXPECT_NE(info.find(line), std::string::npos) << line << "\n" << info;

    const std::string urls = pdfToolOutput("pdfinfo -url", pdf);
    // The direct route escapes the parentheses, as a URI may.
    const std::string address = GetParam() == PrintFormat::Pdf ? "https://example.org/a%28b%29?q=1"
                                                               : "https://example.org/a(b)?q=1";
    EXPECT_NE(urls.find("   1  Annotation    " + address), std::string::npos) << urls;
    EXPECT_EQ(urls.find("unprinted"), std::string::npos) << urls;
    EXPECT_EQ(linkAnnotations(pdf), 2);  // the address and the place on the second sheet
}

TEST_P(BothRoutes, ARangeKeepsTheMarksOfItsOwnPagesAndTheFileNameStandsInForATitle)
{
    ScratchFolder folder;
    Workbook book = linkedWorkbook();
    book.summary = {};
    const auto pdf = print(book, GetParam(), folder, {.fromPage = 2, .toPage = 2});
    EXPECT_EQ(pdfPageCount(pdf), 1);
    const std::string outline = pdfToolOutput("pdftohtml -xml -stdout -i -q", pdf);
    EXPECT_NE(outline.find("<item page=\"1\">Übersicht (2)</item>"), std::string::npos) << outline;
    EXPECT_EQ(outline.find("Sheet1"), std::string::npos) << outline;
    EXPECT_NE(pdfToolOutput("pdfinfo", pdf).find("Title:           book.xls"), std::string::npos);
    EXPECT_EQ(linkAnnotations(pdf), 0);
}

INSTANTIATE_TEST_SUITE_P(PrintMarks, BothRoutes, ::testing::Values(PrintFormat::Pdf, PrintFormat::PostScript),
                         [](const auto& route) { return route.param == PrintFormat::Pdf ? "Direct" : "Ghostscript"; });

TEST(LinkTargets, PlacesInTheWorkbookLeadToThePrintedPageThatShowsThem)
{
    Workbook book = workbookWithSheet("Data");
    book.sheets.push_back(book.sheets.front());
    book.sheets.back().name = "It's";
    SheetPagination data, quoted;
    data.pages = {{0, {0, 49}, {0, 9}}, {0, {50, 99}, {0, 9}}};
    quoted.pages = {{0, {0, 49}, {0, 9}}};
    LinkTargets targets(2, 4);  // only pages 2 to 4 of the whole print
    targets.addSheet(book.sheets[0], data, 1);
    targets.addSheet(book.sheets[1], quoted, 3);
    const std::pair<const char*, int> cases[] = {
        {"Data!A60", 1},   {"#Data!$B$51", 1}, {"A60", 1},      {"'It''s'!J50", 2}, {"'It''s'!C3:D9", 2},
        {"Data!A1", 0},    {"Data!K1", 0},     {"Nowhere!A1", 0}, {"MyName", 0},      {"", 0},
        {"Data!A0", 0},    {"Data!IW1", 0},    {"Data!A65537", 0}, {"Data!1", 0},
    };
    for (const auto& [location, page] : cases)
        EXPECT_EQ(targets.pageOf(location, book.sheets[0]), page) << location;
}
