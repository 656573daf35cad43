// Where a cell's text goes and where it is cut, planned without printing.
#include <gtest/gtest.h>

#include <cairo.h>

#include "print_test_support.h"
#include "workbook/render/cell_text_painter.h"

using namespace kx::workbook;
using namespace kx::workbook::testing;

namespace {

class CellTextPlan : public ::testing::Test {
protected:
    CellTextPlan()
        : surface(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr)), cr(cairo_create(surface)),
          layout(makeLayout(cr))
    {
    }
    ~CellTextPlan() override
    {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }

    TextPlan planOf(const Workbook& book, const Box& box)
    {
        CellFonts fonts(book);
        CellTextPainter painter(cr, layout.get(), book, fonts, 7.0 * 0.75);
        auto plan = painter.plan(book.sheets[0].rows[0].cells[0], box, [&](double, HorizontalAlign) { return box; });
        EXPECT_TRUE(plan);
        return plan ? std::move(*plan) : TextPlan{};
    }

    cairo_surface_t* surface;
    cairo_t* cr;
    LayoutPtr layout;
};

}  // namespace

TEST_F(CellTextPlan, TextInAFontWiderOnScreenThanTheDefaultIsNeverCutInsideItsCell)
{
    // Arial 9 rounds its digits up on screen where the default Arial 10 rounds them down, so its
    // lines break narrower than the cell; the clip must still take in the whole cell.
    const Box box{100, 20, 200, 40};
    for (bool wrap : {true, false}) {
        Workbook book = workbookWithSheet();
        book.fonts.push_back(Font{.name = "Arial", .heightTwips = 180});
        book.formats.push_back(CellFormat{.fontIndex = 1, .horizontal = HorizontalAlign::Right, .wrap = wrap});
        if (wrap)
            setText(book, book.sheets[0], 0, 0, "Words wrapped over several lines of a wide cell in a small font", 1);
        else
            setNumber(book.sheets[0], 0, 0, 12345678, 1);
        const TextPlan plan = planOf(book, box);
        EXPECT_LE(plan.clip.x, box.x) << "wrap " << wrap;
        EXPECT_GE(plan.clip.x + plan.clip.width, box.x + box.width) << "wrap " << wrap;
    }
}

TEST_F(CellTextPlan, CellsOfTheSameTextShareALayoutOnlyWhereTheyAreLaidOutAlike)
{
    const std::string words = "alpha beta gamma delta epsilon";
    Workbook book = workbookWithSheet();
    book.formats.push_back(CellFormat{.wrap = true});
    book.formats.push_back(CellFormat{.shrinkToFit = true});
    book.formats.push_back(CellFormat{.rotation = 90});
    Sheet& sheet = book.sheets[0];
    for (uint16_t column = 0; column < 5; ++column)
        setText(book, sheet, 0, column, words, column < 2 ? 0 : static_cast<uint16_t>(column - 1));
    const std::vector<Cell>& cells = sheet.rows[0].cells;
    const Box wide{0, 0, 400, 15}, narrow{0, 0, 60, 60};
    const auto anyRoom = [](double, HorizontalAlign) { return Box{0, 0, 1000, 60}; };

    CellFonts fonts(book);
    CellTextPainter painter(cr, layout.get(), book, fonts, 7.0 * 0.75);
    const auto plain = painter.plan(cells[0], wide, anyRoom);
    const auto again = painter.plan(cells[1], wide, anyRoom);
    const auto wrapped = painter.plan(cells[2], narrow, anyRoom);
    const auto shrunk = painter.plan(cells[3], narrow, anyRoom);
    const auto turned = painter.plan(cells[4], narrow, anyRoom);
    ASSERT_TRUE(plain && again && wrapped && shrunk && turned);

    ASSERT_TRUE(plain->line);
    EXPECT_EQ(plain->line, again->line);
    EXPECT_GT(pango_layout_get_line_count(wrapped->layout.get()), 2);
    EXPECT_LT(shrunk->shrink, 1);
    ASSERT_TRUE(shrunk->line);
    EXPECT_LT(shrunk->line->width(), plain->line->width());
    // A turned text's layout follows the page's turned context; it must not be the one kept for
    // others of the same text.
    PangoLayout* kept = fonts.layout(words, 0, nullptr, 1, {});
    ASSERT_TRUE(turned->layout);
    EXPECT_NE(turned->layout.get(), kept);
    EXPECT_NE(pango_layout_get_context(turned->layout.get()), pango_layout_get_context(kept));
    PangoRectangle before, after;
    pango_layout_get_extents(kept, nullptr, &before);
    painter.paint(*turned);
    pango_layout_get_extents(kept, nullptr, &after);
    EXPECT_EQ(after.width, before.width);
    EXPECT_EQ(after.width, plain->line->logical().width);
}

TEST_F(CellTextPlan, UprightTextWrapsWithinTheRowsHeight)
{
    // Turned a quarter either way, a wrapped text breaks its lines to fit the row, not the column.
    const Box box{0, 0, 30, 80};
    for (int rotation : {90, 180}) {
        Workbook book = workbookWithSheet();
        book.formats.push_back(CellFormat{.wrap = true, .rotation = static_cast<uint8_t>(rotation)});
        setText(book, book.sheets[0], 0, 0, "Windsor Transmission", 1);
        const TextPlan plan = planOf(book, box);
        EXPECT_EQ(pango_layout_get_line_count(plan.layout.get()), 2) << rotation;
        PangoRectangle logical;
        pango_layout_get_extents(plan.layout.get(), nullptr, &logical);
        EXPECT_LE(static_cast<double>(logical.width) / PANGO_SCALE, box.height) << rotation;
    }
}

TEST_F(CellTextPlan, TurnedTextKeepsClearOfTheEdgeItIsAlignedTo)
{
    // Running up or down the cell, the text keeps from the top or bottom border the room level
    // text keeps from the sides, instead of touching the border line.
    const Box box{0, 0, 30, 120};
    for (int rotation : {90, 180}) {
        for (VerticalAlign vertical : {VerticalAlign::Top, VerticalAlign::Bottom}) {
            Workbook book = workbookWithSheet();
            book.formats.push_back(CellFormat{.vertical = vertical, .rotation = static_cast<uint8_t>(rotation)});
            setText(book, book.sheets[0], 0, 0, "Arlington", 1);
            const TextPlan plan = planOf(book, box);
            PangoRectangle logical;
            pango_layout_get_extents(plan.layout.get(), nullptr, &logical);
            const double length = static_cast<double>(logical.width) / PANGO_SCALE;
            const double gap = vertical == VerticalAlign::Top ? plan.y - length / 2 - box.y
                                                              : box.y + box.height - (plan.y + length / 2);
            EXPECT_NEAR(gap, 1.5, 0.01) << rotation << " vertical " << static_cast<int>(vertical);
        }
    }
}
