// Cell borders on the printed page.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "print_test_support.h"
#include "workbook/print.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

int strokeCount(const std::filesystem::path& postScript)
{
    std::ifstream file(postScript);
    int strokes = 0;
    for (std::string line; std::getline(file, line);)
        strokes += line.ends_with(" S") || line == "S";
    return strokes;
}

uint16_t addBorderedFormat(Workbook& book, BorderStyle style, uint16_t colorIndex = 64)
{
    const Border border{ .style = style, .colorIndex = colorIndex };
    book.formats.push_back(CellFormat{ .left = border, .right = border, .top = border, .bottom = border });
    return static_cast<uint16_t>(book.formats.size() - 1);
}

}  // namespace

TEST(PrintBorders, ABorderedTableIsOneStrokePerStyleAndColourAndStillInked)
{
    Workbook book = workbookWithSheet();
    const uint16_t thin = addBorderedFormat(book, BorderStyle::Thin);
    const uint16_t red = addBorderedFormat(book, BorderStyle::Thin, 2);  // fixed red
    const uint16_t doubled = addBorderedFormat(book, BorderStyle::Double);
    Sheet& sheet = book.sheets[0];
    for (uint32_t row = 0; row < 40; ++row)
        for (uint16_t column = 0; column < 6; ++column)
            setNumber(sheet, row, column, row * 10 + column, thin);
    setText(book, sheet, 41, 0, "red", red);
    setText(book, sheet, 42, 0, "double", doubled);

    ScratchFolder scratch;
    const auto postScript = scratch.path("print.ps");
    const auto pdf = scratch.path("print.pdf");
    printWorkbook(book, { .outputPath = postScript.string() });
    EXPECT_EQ(strokeCount(postScript), 3);
    ASSERT_TRUE(convertToPdf(postScript, pdf));
    EXPECT_GT(pdfInk(pdf), 0.003);
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("395"), std::string::npos) << text;
    EXPECT_NE(text.find("double"), std::string::npos) << text;
}

TEST(PrintBorders, SharedEdgesAreDrawnOnceWithTheSameInk)
{
    // Two cells side by side: the left one's right edge and the right one's left edge coincide.
    Workbook book = workbookWithSheet();
    const uint16_t thin = addBorderedFormat(book, BorderStyle::Thin);
    ScratchFolder scratch;
    const auto postScript = scratch.path("print.ps");
    setText(book, book.sheets[0], 0, 0, "a", thin);
    setText(book, book.sheets[0], 0, 1, "b", thin);
    printWorkbook(book, { .outputPath = postScript.string() });
    std::ifstream file(postScript);
    std::stringstream content;
    content << file.rdbuf();
    const std::string text = content.str();
    size_t segments = 0;
    for (size_t at = text.find(" l"); at != std::string::npos; at = text.find(" l", at + 1))
        segments += at + 2 < text.size() && (text[at + 2] == ' ' || text[at + 2] == '\n');
    EXPECT_EQ(segments, 7u);  // 2 tops, 2 bottoms, 3 verticals
}
