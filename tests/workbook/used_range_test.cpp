// Which formatting carries a page into the print: what shows on white paper does, what does not
// show (white fills, fills in black and white, print titles alone) does not.
#include <gtest/gtest.h>

#include "print_test_support.h"
#include "workbook/render/cell_decoration.h"
#include "workbook/layout/pagination.h"
#include "workbook/layout/used_range.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

constexpr Color white{255, 255, 255}, black{0, 0, 0};
constexpr uint16_t paletteWhite = 9, lightYellow = 43, windowText = 64, windowBackground = 65;

// The file's palette for indexes 8-63: light yellow, but for white at 9 as in the default one.
std::vector<Color> palette()
{
    std::vector<Color> colors(56, Color{255, 255, 153});
    colors[paletteWhite - 8] = white;
    return colors;
}

CellFormat solid(uint16_t foreground)
{
    return CellFormat{.fillPattern = 1, .fillForeground = foreground};
}

CellFormat bordered()
{
    CellFormat format;
    format.left.style = BorderStyle::Medium;
    return format;
}

// A value in A1 and blank cells in the given format at rows 200-209 of column A, far enough
// down to need pages of their own.
Workbook bookWithFormattedTail(const CellFormat& tail)
{
    Workbook book = workbookWithSheet();
    book.palette = palette();
    book.formats.push_back(tail);
    setNumber(book.sheets[0], 0, 0, 1);
    for (uint32_t row = 200; row < 210; ++row)
        book.sheets[0].rows.push_back({.index = row, .cells = {{.column = 0, .format = 1}}});
    return book;
}

size_t pageCount(const Workbook& book)
{
    const Sheet& sheet = book.sheets[0];
    return paginate(book, sheet, SheetMetrics(sheet, 7), 500, 700, 100).pages.size();
}

}  // namespace

TEST(PrintedRange, FillsShowUnlessEveryColourTheyDrawIsWhite)
{
    Workbook book = workbookWithSheet();
    book.palette = palette();

    EXPECT_EQ(fillColor(book, CellFormat{}), white);
    EXPECT_EQ(fillColor(book, solid(windowText)), black);
    // The window background is white even where it stands as the fill's foreground.
    EXPECT_EQ(fillColor(book, solid(windowBackground)), white);
    EXPECT_FALSE(fillShows(book, solid(windowBackground)));
    EXPECT_FALSE(fillShows(book, solid(paletteWhite)));
    EXPECT_FALSE(fillShows(book, solid(1)));
    EXPECT_TRUE(fillShows(book, solid(lightYellow)));

    // A pattern draws both colours: white on white shows nothing, white dots on yellow do.
    CellFormat pattern{.fillPattern = 3, .fillForeground = paletteWhite, .fillBackground = paletteWhite};
    EXPECT_FALSE(fillShows(book, pattern));
    pattern.fillBackground = lightYellow;
    EXPECT_TRUE(fillShows(book, pattern));

    EXPECT_FALSE(hasVisibleFormatting(book, solid(paletteWhite)));
    EXPECT_TRUE(hasVisibleFormatting(book, solid(lightYellow)));
    EXPECT_FALSE(hasVisibleFormatting(book, solid(lightYellow), true));  // black and white
    EXPECT_TRUE(hasVisibleFormatting(book, bordered(), true));
}

TEST(PrintedRange, PagesOfFormattingThatShowsPrintAndOthersAreLeftOut)
{
    // A blank form of borders and a coloured fill print as the spreadsheet program prints them.
    EXPECT_EQ(pageCount(bookWithFormattedTail(bordered())), 2u);
    EXPECT_EQ(pageCount(bookWithFormattedTail(solid(lightYellow))), 2u);

    // White fills show nothing on paper, and neither do fills printed in black and white.
    EXPECT_EQ(pageCount(bookWithFormattedTail(solid(paletteWhite))), 1u);
    Workbook blackAndWhite = bookWithFormattedTail(solid(lightYellow));
    blackAndWhite.sheets[0].pageSetup.blackAndWhite = true;
    EXPECT_EQ(pageCount(blackAndWhite), 1u);
    blackAndWhite.formats[1] = bordered();
    EXPECT_EQ(pageCount(blackAndWhite), 2u);

    // Nor do they stretch the range that fitting to one page shrinks to.
    Workbook fitted = bookWithFormattedTail(solid(paletteWhite));
    fitted.sheets[0].pageSetup.fitToPages = true;
    EXPECT_DOUBLE_EQ(paginate(fitted, fitted.sheets[0], SheetMetrics(fitted.sheets[0], 7), 500, 700, 100).scale, 1.0);
}

TEST(PrintedRange, PrintTitlesAloneDoNotMakeAPage)
{
    // Titles repeat over every page; the page below the data holds them and white cells only.
    Workbook book = bookWithFormattedTail(solid(paletteWhite));
    Sheet& sheet = book.sheets[0];
    setNumber(sheet, 1, 0, 2);
    sheet.pageSetup.titleRows = std::make_pair(0u, 1u);
    EXPECT_EQ(pageCount(book), 1u);

    book.formats[1] = solid(lightYellow);
    const SheetPagination pagination = paginate(book, sheet, SheetMetrics(sheet, 7), 500, 700, 100);
    ASSERT_EQ(pagination.pages.size(), 2u);
    EXPECT_TRUE(pagination.pages[1].rows.withTitles);
}
