// Pictures in the PostScript: each picture's data goes into the print once, however many pages
// show it, and a JPEG keeps its stored bytes.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "print_test_support.h"
#include "workbook/print/print.h"

namespace kx::workbook {
namespace {

namespace support = testing;

std::vector<uint8_t> encodedPicture(const char* type)
{
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 60, 40);
    gdk_pixbuf_fill(pixbuf, 0x3366CCFF);
    gchar* buffer = nullptr;
    gsize size = 0;
    const bool saved = gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, type, nullptr, nullptr);
    g_object_unref(pixbuf);
    std::vector<uint8_t> bytes(buffer, buffer + (saved ? size : 0));
    g_free(buffer);
    return bytes;
}

size_t occurrences(const std::string& text, const std::string& piece)
{
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size()))
        ++count;
    return count;
}

// Pictures anchored a few rows high at the given rows of column B.
void addPicture(Sheet& sheet, uint32_t picture, uint32_t row)
{
    Drawing drawing;
    drawing.picture = picture;
    drawing.anchor = {.firstColumn = 1, .lastColumn = 3, .firstRow = row, .lastRow = row + 4};
    sheet.drawings.push_back(drawing);
}

class PicturePrints : public ::testing::Test {
protected:
    std::string printedPostScript(const Workbook& book, LoadWarnings* warnings = nullptr)
    {
        PrintJob job;
        job.outputPath = scratch.path("print.ps").string();
        job.warnings = warnings;
        printWorkbook(book, job);
        std::ifstream file(job.outputPath, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    support::ScratchFolder scratch;
};

TEST_F(PicturePrints, APictureOnManyPagesGoesIntoThePrintOnce)
{
    Workbook book = support::workbookWithSheet();
    book.pictures = {{PictureFormat::Jpeg, encodedPicture("jpeg")}, {PictureFormat::Png, encodedPicture("png")}};
    ASSERT_FALSE(book.pictures[0].data.empty());
    ASSERT_FALSE(book.pictures[1].data.empty());
    Sheet& sheet = book.sheets.front();
    // Rows 0, 100 and 200 fall on three pages; the PNG also crosses the first page break.
    for (uint32_t row : {0u, 100u, 200u})
        addPicture(sheet, 0, row);
    addPicture(sheet, 1, 52);
    addPicture(sheet, 1, 150);

    const std::string postScript = printedPostScript(book);
    EXPECT_EQ(occurrences(postScript, "/ImageType 1"), 2u);
    EXPECT_EQ(occurrences(postScript, "/DCTDecode filter"), 1u);  // the JPEG as stored

    const auto pdf = scratch.path("print.pdf");
    ASSERT_TRUE(support::convertToPdf(scratch.path("print.ps"), pdf));
    EXPECT_GE(support::pdfPageCount(pdf), 4);
    EXPECT_EQ(support::pdfImageCount(pdf), 3 + 3);  // the PNG on both sides of its page break
}

TEST_F(PicturePrints, PicturesThatCannotBeDecodedAreLeftOutWithAWarning)
{
    Workbook book = support::workbookWithSheet();
    book.pictures = {{PictureFormat::Jpeg, {0xFF, 0xD8, 0xFF, 0xE0, 1, 2}},
                     {PictureFormat::Png, encodedPicture("png")}};
    Sheet& sheet = book.sheets.front();
    addPicture(sheet, 0, 0);
    addPicture(sheet, 7, 10);  // past the store
    addPicture(sheet, 1, 20);
    support::setText(book, sheet, 30, 0, "after the pictures");

    LoadWarnings warnings;
    const std::string postScript = printedPostScript(book, &warnings);
    EXPECT_EQ(occurrences(postScript, "/ImageType 1"), 1u);
    EXPECT_EQ(warnings.lines(), (std::vector<std::string>{"picture 1 of the workbook's 2 cannot be drawn; it prints blank",
                                                          "picture 8 of the workbook's 2 cannot be drawn; it prints blank"}));
    const auto pdf = scratch.path("print.pdf");
    ASSERT_TRUE(support::convertToPdf(scratch.path("print.ps"), pdf));
    EXPECT_NE(support::pdfText(pdf).find("after the pictures"), std::string::npos);
}

}  // namespace
}  // namespace kx::workbook
