// Where a chart's legend, plot and axis titles go, placed from measured text sizes without printing.
#include <gtest/gtest.h>

#include "print_test_support.h"
#include "workbook/charts/chart_places.h"

using namespace kx::workbook;
using namespace kx::workbook::chart;
using kx::workbook::testing::expectBox;

TEST(ChartPlaces, TheLegendTakesItsSideAndLeavesTheRestToThePlot)
{
    // Two entries of 30 and 40 points in lines of 10, inside a chart of 300 x 200 at 6, 6.
    const Box inside{6, 6, 300, 200}, whole{0, 0, 312, 212};
    struct Case {
        LegendPosition position;
        Box legend, plot;
        size_t rows;
    };
    const Case cases[] = {
        // Beside the plot: one entry a line, as wide as the widest and the padding.
        {LegendPosition::Right, {254, 90, 52, 32}, {6, 6, 242, 200}, 2},
        {LegendPosition::Corner, {254, 6, 52, 32}, {6, 6, 242, 200}, 2},
        {LegendPosition::Left, {6, 90, 52, 32}, {64, 6, 242, 200}, 2},
        // Above or under it: entries side by side, centred.
        {LegendPosition::Top, {109, 6, 94, 22}, {6, 34, 300, 172}, 1},
        {LegendPosition::Bottom, {109, 184, 94, 22}, {6, 6, 300, 172}, 1},
        // Floating over the chart in a box wider than tall, too narrow for both entries on a line.
        {LegendPosition::Floating, {156, 53, 58, 32}, {6, 6, 300, 200}, 2},
    };
    for (const Case& c : cases) {
        Chart chart;
        chart.legendPosition = c.position;
        chart.legendArea = {0.5, 0.25, 0.75, 0.5};
        const LegendPlace place = placeLegend(chart, inside, whole, {30, 40}, 10);
        const std::string what = "position " + std::to_string(static_cast<int>(c.position));
        expectBox(place.legend, c.legend, what);
        expectBox(place.plot, c.plot, what);
        EXPECT_EQ(place.rows.size(), c.rows) << what;
    }
}

TEST(ChartPlaces, ThePlotKeepsRoomForItsAxesLabelsAndTitles)
{
    // Labels 10 high, titles 12, value labels 20 wide, in a box of 200 x 100.
    const Box box{0, 0, 200, 100};
    struct Case {
        std::string what;
        void (*setUp)(Chart&, AxesTexts&);
        Box plot;
        std::optional<TitlePlace> beside, secondary, under;
    };
    const Case cases[] = {
        {"labels only", [](Chart&, AxesTexts&) {}, {26, 5, 166, 79}, {}, {}, {}},
        {"titles up the side and under the plot",
         [](Chart& chart, AxesTexts&) {
             chart.valueAxis.title = "Value";
             chart.categoryAxis.title = "Category";
         },
         {41, 5, 151, 64}, TitlePlace{6, 37, -1, true}, {}, TitlePlace{41, 88, 151}},
        {"a value title across, above the axis",
         [](Chart& chart, AxesTexts&) {
             chart.valueAxis.title = "Value";
             chart.valueAxis.titleAcross = true;
         },
         {26, 20, 166, 64}, TitlePlace{0, 0}, {}, {}},
        {"bars: category names beside, at most a third of the width",
         [](Chart&, AxesTexts& texts) {
             texts.horizontal = true;
             texts.widestCategory = 150;
         },
         {6 + 200.0 / 3, 5, 200 - 6 - 200.0 / 3 - 8, 79}, {}, {}, {}},
        {"a secondary axis with its title up the right side",
         [](Chart& chart, AxesTexts& texts) {
             texts.widestSecondary = 30;
             chart.secondaryValueAxis.title = "Second";
         },
         {26, 5, 120, 79}, {}, TitlePlace{194, 44.5, -1, true}, {}},
        {"a secondary title across, at the right",
         [](Chart& chart, AxesTexts& texts) {
             texts.widestSecondary = 30;
             texts.secondaryTitleWidth = 50;
             chart.secondaryValueAxis.title = "Second";
             chart.secondaryValueAxis.titleAcross = true;
         },
         {26, 20, 135, 64}, {}, TitlePlace{150, 0}, {}},
        {"category labels wrapped on three lines",
         [](Chart&, AxesTexts& texts) {
             texts.points = 4;
             texts.tallestCategory = [](double) { return 30.0; };
         },
         {26, 5, 166, 59}, {}, {}, {}},
        {"titles moved by hand: centred where they were put, the room for them kept",
         [](Chart& chart, AxesTexts&) {
             chart.valueAxis.title = "Value";
             chart.valueAxis.titleBox = DrawingShare{0.5, 0.5, 0.6, 0.9};
             chart.categoryAxis.title = "Category";
             chart.categoryAxis.titleBox = DrawingShare{0.1, 0, 0.3, 0.1};
         },
         {41, 5, 151, 64}, TitlePlace{110, 70, -1, true}, {}, TitlePlace{-60, 0, 200}},
        {"category labels no higher than four lines",
         [](Chart&, AxesTexts& texts) {
             texts.points = 4;
             texts.tallestCategory = [](double) { return 90.0; };
         },
         {26, 5, 166, 49}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        Chart chart;
        AxesTexts texts{.lineHeight = 10, .titleHeight = 12, .widestValue = 20};
        c.setUp(chart, texts);
        const AxesPlace place = placeAxes(chart, box, box, texts);
        expectBox(place.plot, c.plot, c.what);
        const std::pair<const std::optional<TitlePlace>&, const std::optional<TitlePlace>&> titles[] = {
            {place.besideTitle, c.beside}, {place.secondaryTitle, c.secondary}, {place.underTitle, c.under}};
        for (const auto& [actual, expected] : titles) {
            ASSERT_EQ(actual.has_value(), expected.has_value()) << c.what;
            if (!actual)
                continue;
            EXPECT_DOUBLE_EQ(actual->x, expected->x) << c.what;
            EXPECT_DOUBLE_EQ(actual->y, expected->y) << c.what;
            EXPECT_DOUBLE_EQ(actual->wrapWidth, expected->wrapWidth) << c.what;
            EXPECT_EQ(actual->upright, expected->upright) << c.what;
        }
    }
}

TEST(ChartPlaces, WrappedCategoryLabelsShareThePlotsWidthBetweenThePoints)
{
    AxesTexts texts{.lineHeight = 10, .titleHeight = 12, .widestValue = 20, .points = 4};
    double asked = 0;
    texts.tallestCategory = [&](double wrapWidth) {
        asked = wrapWidth;
        return 10.0;
    };
    placeAxes(Chart{}, {0, 0, 200, 100}, {0, 0, 200, 100}, texts);
    EXPECT_DOUBLE_EQ(asked, 0.95 * 166 / 4);
}

TEST(ChartPlaces, APlotLaidOutByItsInsideGetsItsLabelsAroundIt)
{
    Chart chart;
    chart.valueAxis.title = "Value";
    const AxesTexts texts{.lineHeight = 10, .titleHeight = 12, .widestValue = 20};
    const Box inside{50, 40, 120, 50};
    const Box around = aroundPlot(chart, inside, texts);
    expectBox(placeAxes(chart, around, around, texts).plot, inside, "the plot of the box around");
    EXPECT_LT(around.x, inside.x - 20);  // the value labels and the title up the side
}
