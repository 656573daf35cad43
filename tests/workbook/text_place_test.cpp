// Where a cell's text goes inside its box and what clips it, placed from measured sizes.
#include <gtest/gtest.h>

#include "print_test_support.h"
#include "workbook/layout/text_place.h"

using namespace kx::workbook;

TEST(CellTextPlace, TextIsAlignedInItsBoxAndClippedWhereItReachesOut)
{
    const Box cell{100, 20, 48, 12.75};  // room for 45 points of text between the paddings
    const Box neighbours{100, 20, 96, 12.75};
    struct Case {
        std::string what;
        MeasuredText text;
        double x, y;
        Box clip;
        bool spills, clipped;
    };
    const Case cases[] = {
        {"left at the bottom", {.width = 20, .height = 10, .room = 45, .lineWidth = 45}, 101.5, 22, cell, false, false},
        {"right, indented",
         {.width = 20, .height = 10, .room = 40, .lineWidth = 40, .indent = 5, .lineAlign = LineAlign::Right},
         121.5, 22, cell, false, false},
        {"centred at the top",
         {.width = 20, .height = 10, .room = 45, .lineWidth = 45, .lineAlign = LineAlign::Center,
          .vertical = VerticalAlign::Top},
         114, 20.75, cell, false, false},
        {"too wide: over the neighbours, cut where they end",
         {.width = 100, .height = 10, .room = 45, .lineWidth = 45}, 101.5, 22, neighbours, true, true},
        {"a number too wide never spills; what fits on screen keeps its outlines",
         {.width = 60, .height = 10, .room = 45, .lineWidth = 47, .numeric = true},
         101.5, 22, {98, 20, 52, 12.75}, false, true},
        {"wrapped right-aligned lines break at the screen's width",
         {.width = 44, .height = 10, .room = 45, .lineWidth = 50, .lineAlign = LineAlign::Right, .wraps = true},
         96.5, 22, {95, 20, 58, 12.75}, false, false},
        {"turned text by its centre, taller than its row",
         {.width = 12, .height = 30, .room = 45, .lineWidth = 45, .vertical = VerticalAlign::Center, .rotated = true,
          .turned = true},
         107.5, 26.375, cell, false, true},
        {"stacked text wider than its cell stays in it",
         {.width = 100, .height = 10, .room = 45, .lineWidth = 45, .rotated = true}, 101.5, 22, cell, false, true},
    };
    for (const Case& c : cases) {
        double askedWidth = -1;
        const TextPlace place = placeCellText(c.text, cell, [&](double width, HorizontalAlign) {
            askedWidth = width;
            return neighbours;
        });
        EXPECT_DOUBLE_EQ(place.x, c.x) << c.what;
        EXPECT_DOUBLE_EQ(place.y, c.y) << c.what;
        kx::workbook::testing::expectBox(place.clip, c.clip, c.what);
        EXPECT_EQ(place.spills, c.spills) << c.what;
        EXPECT_EQ(place.clipped, c.clipped) << c.what;
        // The neighbours are asked for room for the text and both paddings, only when it spills.
        EXPECT_DOUBLE_EQ(askedWidth, c.spills ? c.text.width + 3 + c.text.indent : -1) << c.what;
    }
}
