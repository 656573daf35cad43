// Cell borders and fills on the printed page.
#include <gtest/gtest.h>

#include <fstream>
#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "print_test_support.h"
#include "workbook/print/print.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

std::string fileText(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

// Line segments ("x y l") in the PostScript.
size_t segmentCount(const std::string& text)
{
    std::istringstream words(text);
    size_t segments = 0;
    for (std::string word; words >> word;)
        segments += word == "l";
    return segments;
}

// The width and height of each filled rectangle ("x y width height re f"), in order.
std::vector<std::pair<double, double>> filledSizes(const std::string& text)
{
    std::vector<std::pair<double, double>> sizes;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        double x, y, width, height;
        char tail[8] = {};
        if (std::sscanf(line.c_str(), "%lf %lf %lf %lf %7[ref ]", &x, &y, &width, &height, tail) == 5 &&
            std::string(tail) == "re f")
            sizes.emplace_back(width, height);
    }
    return sizes;
}

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

TEST(PrintBorders, SharedEdgesAreDrawnOnceAndEdgesInLineJoin)
{
    // Two cells side by side: the left one's right edge and the right one's left edge coincide,
    // and their tops (and bottoms) continue one another.
    Workbook book = workbookWithSheet();
    const uint16_t thin = addBorderedFormat(book, BorderStyle::Thin);
    ScratchFolder scratch;
    const auto postScript = scratch.path("print.ps");
    setText(book, book.sheets[0], 0, 0, "a", thin);
    setText(book, book.sheets[0], 0, 1, "b", thin);
    printWorkbook(book, { .outputPath = postScript.string() });
    EXPECT_EQ(segmentCount(fileText(postScript)), 5u);  // a top, a bottom, 3 verticals
}

TEST(PrintBorders, ATableIsALineForEachRowAndColumnEdgeButDashesStayApart)
{
    Workbook book = workbookWithSheet();
    const uint16_t thin = addBorderedFormat(book, BorderStyle::Thin);
    const uint16_t dashed = addBorderedFormat(book, BorderStyle::Dashed);
    Sheet& sheet = book.sheets[0];
    for (uint32_t row = 0; row < 40; ++row)
        for (uint16_t column = 0; column < 6; ++column)
            setNumber(sheet, row, column, row * 10 + column, thin);
    // Each dashed cell's dashes start at its own corner, as on screen.
    for (uint32_t row = 0; row < 3; ++row)
        setText(book, sheet, row, 8, "dash", dashed);

    ScratchFolder scratch;
    const auto postScript = scratch.path("print.ps");
    const auto pdf = scratch.path("print.pdf");
    printWorkbook(book, { .outputPath = postScript.string() });
    EXPECT_EQ(segmentCount(fileText(postScript)), (41u + 7u) + (4u + 2u * 3u));
    ASSERT_TRUE(convertToPdf(postScript, pdf));
    EXPECT_GT(pdfInk(pdf), 0.003);
}

TEST(PrintFills, NeighboursOfOneColourFillAsOneRectangle)
{
    Workbook book = workbookWithSheet();
    const auto addFill = [&book](uint16_t colorIndex) {
        book.formats.push_back(CellFormat{ .fillPattern = 1, .fillForeground = colorIndex });
        return static_cast<uint16_t>(book.formats.size() - 1);
    };
    const uint16_t red = addFill(2), blue = addFill(4);  // fixed colours
    Sheet& sheet = book.sheets[0];
    for (uint32_t row = 0; row < 2; ++row) {
        for (uint16_t column = 0; column < 6; ++column)
            setText(book, sheet, row, column, "r", red);
        setText(book, sheet, row, 6, "b", blue);
        setText(book, sheet, row, 7, "r", red);
    }
    setText(book, sheet, 3, 0, "r", red);  // a row between breaks the run
    for (uint32_t row = 5; row < 9; ++row)     // a block of one colour
        for (uint16_t column = 2; column < 5; ++column)
            setText(book, sheet, row, column, "b", blue);

    ScratchFolder scratch;
    const auto postScript = scratch.path("print.ps");
    printWorkbook(book, { .outputPath = postScript.string() });
    const auto sizes = filledSizes(fileText(postScript));
    ASSERT_EQ(sizes.size(), 8u);
    const double column = sizes[1].first, row = sizes[1].second;
    const double printed = 0.02;  // the PostScript keeps three decimals
    EXPECT_NEAR(sizes[0].first, 6 * column, printed);
    EXPECT_NEAR(sizes[2].first, column, printed);
    EXPECT_NEAR(sizes[3].first, 6 * column, printed);
    EXPECT_NEAR(sizes[6].first, column, printed);
    EXPECT_NEAR(sizes[7].first, 3 * column, printed);
    EXPECT_NEAR(sizes[7].second, 4 * row, printed);
}
