// Charts: the records of chart sheets and embedded charts, the values their series take from
// the cells, damaged chart records, the value axis scale, and charts in real prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "print_test_support.h"
#include "workbook/charts/chart_drawing.h"
#include "workbook/charts/chart_painter.h"
#include "workbook/charts/chart_places.h"
#include "workbook/canvas/cell_fonts.h"
#include "workbook/print/print.h"
#include "workbook/xls/reader.h"
#include "xls_builder.h"

using namespace kx::workbook;
using kx::testing::Body;
using kx::testing::RawRecord;
using kx::testing::record;
using kx::testing::WorkbookBuilder;

namespace support = kx::workbook::testing;

namespace {

RawRecord begin() { return record(0x1033, Body()); }
RawRecord end() { return record(0x1034, Body()); }

// A link of a series to an area of the first sheet (through EXTERNSHEET entry 0).
RawRecord link(uint8_t part, uint16_t firstRow, uint16_t lastRow, uint16_t column)
{
    const Body formula = Body().u8(0x3B).u16(0).u16(firstRow).u16(lastRow).u16(column).u16(column);
    return record(0x1051, Body().u8(part).u8(2).u16(0).u16(0).u16(static_cast<uint16_t>(formula.size())).bytes(formula.data()));
}

RawRecord seriesText(const std::u16string& text)
{
    return record(0x100D, Body().u16(0).string8(text));
}

RawRecord areaFormat(uint8_t red, uint8_t green, uint8_t blue, bool automatic)
{
    return record(0x100A, Body().u8(red).u8(green).u8(blue).u8(0).u32(0xFFFFFF).u16(1).u16(automatic ? 1 : 0).u16(8).u16(9));
}

// A chart of `series` (each a list of records inside its block) drawn as `kind` with a legend;
// `more` follows the primary axes.
std::vector<RawRecord> chartRecords(const std::vector<std::vector<RawRecord>>& series, const RawRecord& kind,
                                    const std::vector<RawRecord>& more = {})
{
    std::vector<RawRecord> records{record(0x1002, Body().u32(0).u32(0).u32(400 << 16).u32(300 << 16)), begin()};
    for (const auto& one : series) {
        records.push_back(record(0x1003, Body().u16(1).u16(1).u16(3).u16(3).u16(1).u16(0)));
        records.push_back(begin());
        records.insert(records.end(), one.begin(), one.end());
        if (std::none_of(one.begin(), one.end(), [](const RawRecord& r) { return r.type == 0x1045; }))
            records.push_back(record(0x1045, Body().u16(0)));  // the first group
        records.push_back(end());
    }
    const std::vector<RawRecord> rest{
        record(0x1041, Body().u16(0).u32(0).u32(0).u32(0).u32(0)), begin(),
        record(0x101D, Body().u16(0).u32(0).u32(0).u32(0).u32(0)), begin(),
        record(0x1020, Body().u16(1).u16(2).u16(1).u16(1)),  // a label on every second category
        record(0x101F, Body().f64(0).f64(4).f64(1).f64(0).f64(0).u16(0x18)), end(),
        record(0x101D, Body().u16(1).u32(0).u32(0).u32(0).u32(0)), begin(),
        record(0x101F, Body().f64(0).f64(30).f64(10).f64(0).f64(0).u16(0x18)), record(0x1021, Body().u16(1)),
        record(0x1007, Body().u32(0).u16(0).u16(0).u16(0).u16(0)), end(),
        record(0x1014, Body().bytes(std::vector<uint8_t>(16, 0)).u16(0).u16(0)), begin(), kind,
        record(0x1015, Body().u32(0).u32(0).u32(0).u32(0).u8(0).u8(1).u16(0)), end(),
        end()};
    records.insert(records.end(), rest.begin(), rest.end());
    records.insert(records.end(), more.begin(), more.end());
    const std::vector<RawRecord> title{record(0x1025, Body().bytes(std::vector<uint8_t>(32, 0))), begin(),
                                       record(0x1027, Body().u16(1).u16(0).u16(0)), seriesText(u"Yearly sales"), end(),
                                       end()};
    records.insert(records.end(), title.begin(), title.end());
    return records;
}

RawRecord stackedColumns() { return record(0x1017, Body().u16(100).u16(150).u16(0x0002)); }

WorkbookBuilder withData()
{
    WorkbookBuilder builder;
    builder.global(0x01AE, Body().u16(2).u16(0x0401));
    builder.global(0x0017, Body().u16(1).u16(0).u16(0).u16(0));
    return builder;
}

kx::testing::SheetContents dataSheet()
{
    return {.name = "Data",
            .records = {kx::testing::labelCell(0, 0, u"Sales"), kx::testing::numberCell(1, 0, 10),
                        kx::testing::labelCell(2, 0, u"n/a"), kx::testing::numberCell(3, 0, 30),
                        kx::testing::labelCell(1, 1, u"North"), kx::testing::labelCell(2, 1, u"East"),
                        kx::testing::labelCell(3, 1, u"South"), kx::testing::numberCell(1, 2, 5),
                        kx::testing::numberCell(2, 2, 15), kx::testing::numberCell(3, 2, 25)}};
}

Workbook chartSheetWorkbook(const std::vector<RawRecord>& chart)
{
    return loadWorkbook(withData().sheet(dataSheet()).sheet({.name = "Chart1", .records = chart, .kind = 2}).file());
}

// Dark lines and fills, so that what a series draws shows as ink.
const std::vector<RawRecord> darkSeries{seriesText(u"Costs"), link(1, 1, 3, 2), link(2, 1, 3, 1),
                                        record(0x1006, Body().u16(0xFFFF).u16(1).u16(1).u16(0)), begin(),
                                        record(0x1007, Body().u32(0).u16(0).u16(1).u16(0).u16(8)),
                                        areaFormat(0, 0, 0, false), end()};

const std::vector<RawRecord> linkedSeries{link(0, 0, 0, 0), seriesText(u"stale name"), link(1, 1, 3, 0),
                                          link(2, 1, 3, 1), record(0x1006, Body().u16(0xFFFF).u16(0).u16(0).u16(0)),
                                          begin(), areaFormat(255, 0, 0, false),
                                          record(0x1007, Body().u32(0).u16(0).u16(2).u16(0).u16(8)), end()};

}  // namespace

TEST(ChartRecords, ChartSheetSeriesTakeTheirCellsAndFormats)
{
    const Workbook book = chartSheetWorkbook(chartRecords({linkedSeries, {seriesText(u"Second")}}, stackedColumns()));
    const Sheet& sheet = book.sheets.at(1);
    ASSERT_EQ(sheet.kind, SheetKind::Chart);
    ASSERT_EQ(sheet.charts.size(), 1u);
    const Chart& chart = sheet.charts.front();
    ASSERT_EQ(chart.groups.size(), 1u);
    EXPECT_EQ(chart.groups[0].kind, ChartKind::Column);
    EXPECT_EQ(chart.groups[0].stacking, ChartStacking::Stacked);
    EXPECT_EQ(chart.groups[0].overlap, 100);
    ASSERT_EQ(chart.series.size(), 2u);
    const ChartSeries& first = chart.series[0];
    EXPECT_EQ(first.name, "Sales");  // the cell wins over the text stored with the chart
    ASSERT_EQ(first.values.size(), 3u);
    EXPECT_EQ(first.values[0], 10.0);
    EXPECT_FALSE(first.values[1]);  // a text is no value
    EXPECT_EQ(first.values[2], 30.0);
    EXPECT_EQ(first.categories, (std::vector<std::string>{"North", "East", "South"}));
    EXPECT_EQ(first.format.fill, (Color{255, 0, 0}));
    EXPECT_EQ(first.format.lineWidth, 2.25);  // wide
    EXPECT_EQ(chart.series[1].name, "Second");
    EXPECT_FALSE(chart.series[1].format.fill);
    EXPECT_TRUE(chart.legend);
    EXPECT_EQ(chart.legendPosition, LegendPosition::Bottom);
    EXPECT_TRUE(chart.valueAxis.shown);
    EXPECT_TRUE(chart.valueAxis.majorGridlines);
    EXPECT_EQ(chart.valueAxis.maximum, 30);
    EXPECT_EQ(chart.categoryAxis.labelInterval, 2);
    EXPECT_EQ(chart.valueAxis.majorUnit, 10);
    EXPECT_EQ(chart.title, "Yearly sales");
    EXPECT_EQ(chart.width, 400);
}

TEST(ChartRecords, KindsOfChartFromTheirRecords)
{
    struct Case {
        RawRecord kind;
        ChartKind expected;
        ChartStacking stacking;
    };
    const std::vector<Case> cases{
        {record(0x1017, Body().u16(0).u16(50).u16(0x0001)), ChartKind::Bar, ChartStacking::None},
        {record(0x1017, Body().u16(0).u16(50).u16(0x0006)), ChartKind::Column, ChartStacking::Percent},
        {record(0x1018, Body().u16(0x0001)), ChartKind::Line, ChartStacking::Stacked},
        {record(0x1019, Body().u16(90).u16(0).u16(0)), ChartKind::Pie, ChartStacking::None},
        {record(0x101A, Body().u16(0x0002)), ChartKind::Area, ChartStacking::Percent},
        {record(0x101B, Body().u16(100).u16(1).u16(0)), ChartKind::Scatter, ChartStacking::None},
        {record(0x103E, Body().u16(1).u16(0)), ChartKind::Radar, ChartStacking::None},
        {record(0x1040, Body().u16(1).u16(0)), ChartKind::FilledRadar, ChartStacking::None},
    };
    for (const Case& c : cases) {
        const Workbook book = chartSheetWorkbook(chartRecords({linkedSeries}, c.kind));
        ASSERT_EQ(book.sheets.at(1).charts.size(), 1u);
        const ChartGroup& group = book.sheets[1].charts[0].groups.at(0);
        EXPECT_EQ(group.kind, c.expected);
        EXPECT_EQ(group.stacking, c.stacking);
    }
    // A kind this engine does not draw leaves the sheet without a chart.
    // A scatter chart of bubbles, their sizes given as widths at 150%, read from the cells.
    std::vector<RawRecord> sized = linkedSeries;
    sized.insert(sized.begin(), link(3, 1, 3, 2));
    const Workbook bubbles = chartSheetWorkbook(chartRecords({sized}, record(0x101B, Body().u16(150).u16(2).u16(1))));
    const ChartGroup& bubbleGroup = bubbles.sheets.at(1).charts.at(0).groups.at(0);
    EXPECT_TRUE(bubbleGroup.bubbles);
    EXPECT_EQ(bubbleGroup.bubbleScale, 150);
    EXPECT_TRUE(bubbleGroup.bubbleSizeIsWidth);
    EXPECT_EQ(bubbles.sheets[1].charts[0].series.at(0).bubbleSizes,
              (std::vector<std::optional<double>>{5.0, 15.0, 25.0}));

    // A bar of pie whose bar shows the points below 12.5, at 120% of the pie's size.
    const Workbook barOfPie = chartSheetWorkbook(chartRecords(
        {linkedSeries},
        record(0x1061, Body().u8(2).u8(0).u16(1).u16(3).u16(10).u16(120).u16(50).f64(12.5).u16(0))));
    const ChartGroup& pieGroup = barOfPie.sheets.at(1).charts.at(0).groups.at(0);
    EXPECT_EQ(pieGroup.kind, ChartKind::Pie);
    ASSERT_TRUE(pieGroup.secondPlot);
    EXPECT_EQ(pieGroup.secondPlot->kind, SecondPlot::Kind::Bar);
    EXPECT_EQ(pieGroup.secondPlot->split, SecondPlot::Split::Value);
    EXPECT_EQ(pieGroup.secondPlot->belowValue, 12.5);
    EXPECT_EQ(pieGroup.secondPlot->sizePercent, 120);
    EXPECT_EQ(pieGroup.secondPlot->gapPercent, 50);

    const Workbook surface = chartSheetWorkbook(chartRecords({linkedSeries}, record(0x103F, Body().u16(0))));
    EXPECT_TRUE(surface.sheets.at(1).charts.empty());
}

TEST(ChartRecords, SecondaryAxisGroupAndPointLabels)
{
    // The second series goes to the group of the secondary axes, whose title is written across.
    const std::vector<RawRecord> secondary{
        record(0x1041, Body().u16(1).u32(0).u32(0).u32(0).u32(0)), begin(),
        record(0x101D, Body().u16(1).u32(0).u32(0).u32(0).u32(0)), begin(),
        record(0x101F, Body().f64(0.25).f64(0.4).f64(0.05).f64(0).f64(0).u16(0x1C)), end(),
        record(0x1025, Body().bytes(std::vector<uint8_t>(32, 0))), begin(),
        record(0x1027, Body().u16(2).u16(0).u16(0)), seriesText(u"Share"), end(),
        record(0x1014, Body().bytes(std::vector<uint8_t>(16, 0)).u16(0).u16(1)), begin(),
        record(0x1018, Body().u16(0)), end(),
        end()};
    std::vector<RawRecord> labelled = linkedSeries;
    labelled.insert(labelled.end() - 1, record(0x100C, Body().u16(0x0001)));
    const std::vector<RawRecord> second{seriesText(u"Share"), record(0x1045, Body().u16(1))};
    const Workbook book = chartSheetWorkbook(chartRecords({labelled, second}, stackedColumns(), secondary));
    const Chart& chart = book.sheets.at(1).charts.at(0);
    ASSERT_EQ(chart.groups.size(), 2u);
    EXPECT_FALSE(chart.groups[0].secondary);
    EXPECT_TRUE(chart.groups[1].secondary);
    EXPECT_EQ(chart.groups[1].kind, ChartKind::Line);
    ASSERT_EQ(chart.series.size(), 2u);
    EXPECT_EQ(chart.series[1].group, 1);
    EXPECT_TRUE(chart.series[0].format.valueLabels);
    EXPECT_FALSE(chart.series[1].format.valueLabels);
    EXPECT_TRUE(chart.secondaryValueAxis.shown);
    EXPECT_EQ(chart.secondaryValueAxis.title, "Share");
    EXPECT_TRUE(chart.secondaryValueAxis.titleAcross);
    EXPECT_EQ(chart.secondaryValueAxis.minimum, 0.25);
    EXPECT_EQ(chart.secondaryValueAxis.maximum, 0.4);
    EXPECT_FALSE(chart.secondaryValueAxis.majorUnit);  // marked automatic
    EXPECT_TRUE(chart.valueAxis.title.empty());
    EXPECT_EQ(chart.title, "Yearly sales");  // the chart's own title after the secondary axes
}

TEST(ChartRecords, StoredValuesStandInForSourcesThatAreGone)
{
    std::vector<RawRecord> chart = chartRecords({{seriesText(u"Kept")}}, stackedColumns());
    const std::vector<RawRecord> cache{
        record(0x1065, Body().u16(1)), kx::testing::numberCell(0, 0, 4), kx::testing::numberCell(1, 0, 5),
        kx::testing::numberCell(0, 7, 99),  // a series the chart does not have
        record(0x1065, Body().u16(2)), kx::testing::labelCell(0, 0, u"Q1"), kx::testing::numberCell(1, 0, 2)};
    chart.insert(chart.end(), cache.begin(), cache.end());
    const Workbook book = chartSheetWorkbook(chart);
    const ChartSeries& series = book.sheets.at(1).charts.at(0).series.at(0);
    EXPECT_EQ(series.values, (std::vector<std::optional<double>>{4.0, 5.0}));
    EXPECT_EQ(series.categories, (std::vector<std::string>{"Q1", "2"}));
    EXPECT_EQ(series.xValues[1], 2.0);
}

TEST(ChartRecords, DamagedChartRecordsNeverFailTheLoadAndAreWarnedOf)
{
    std::vector<std::vector<RawRecord>> damaged{
        {record(0x1002, Body().u16(1))},                                             // cut-short chart
        {end(), end(), record(0x1003, Body()), begin(), record(0x1051, Body().u8(1).u8(2).u16(0).u16(0).u16(500))},
        {record(0x1002, Body().u32(0).u32(0).u32(0xFFFFFFFF).u32(0x80000000)), record(0x1014, Body().u16(1))},
    };
    std::vector<RawRecord> deep{record(0x1002, Body().bytes(std::vector<uint8_t>(16, 0)))};
    for (int i = 0; i < 200; ++i)
        deep.push_back(begin());
    deep.push_back(record(0x1009, Body().u32(0)));
    damaged.push_back(deep);
    auto truncatedChart = chartRecords({linkedSeries}, stackedColumns());
    for (RawRecord& r : truncatedChart)
        if (r.body.size() > 3)
            r.body.resize(r.body.size() / 2);
    damaged.push_back(truncatedChart);
    damaged.push_back({record(0x1002, Body().bytes(std::vector<uint8_t>(16, 0))), record(0x1044, Body()),
                       record(0x1041, Body().u16(0)), begin(), record(0x104F, Body().u16(2).u16(2).u16(100)), end(),
                       record(0x08A7, Body().u16(0x08A7).u32(0))});
    for (const auto& chart : damaged) {
        Workbook book;
        ASSERT_NO_THROW(book = chartSheetWorkbook(chart));
        for (const Chart& read : book.sheets.at(1).charts)
            EXPECT_FALSE(read.groups.empty());
    }
    EXPECT_FALSE(chartSheetWorkbook(damaged.front()).warnings.empty());
    EXPECT_TRUE(chartSheetWorkbook(chartRecords({linkedSeries}, stackedColumns())).warnings.empty());
}

namespace {

RawRecord position(uint16_t cornerMode, uint16_t sizeMode, std::array<int16_t, 4> values)
{
    Body body = Body().u16(cornerMode).u16(sizeMode);
    for (int16_t value : values)
        body.u16(static_cast<uint16_t>(value)).u16(0);
    return record(0x104F, body);
}

// The newer plot area layout, repeating the older position it was saved beside.
RawRecord plotLayout(std::array<int16_t, 4> repeated, bool inner, std::array<uint16_t, 4> modes, std::array<double, 4> box)
{
    Body body = Body().u16(0x08A7).u16(0).u32(0).u32(0).u32(0).u16(inner ? 1 : 0);
    for (int16_t value : repeated)
        body.u16(static_cast<uint16_t>(value));
    for (uint16_t mode : modes)
        body.u16(mode);
    for (double value : box)
        body.f64(value);
    return record(0x08A7, body.u16(0));
}

// The chart of chartRecords with its primary axes at `axes` and its title's box, in 1/4000 of
// the chart, moved by `titleOffset` from where the program would put it.
std::vector<RawRecord> laidOutChart(std::optional<std::array<int16_t, 4>> axes, std::vector<RawRecord> more,
                                    std::array<int32_t, 4> titleBox = {}, std::array<int16_t, 2> titleOffset = {})
{
    std::vector<RawRecord> records = chartRecords({darkSeries}, stackedColumns(), more);
    const auto axisParent = std::find_if(records.begin(), records.end(), [](const RawRecord& r) { return r.type == 0x1041; });
    if (axes)
        records.insert(axisParent + 2, position(2, 2, *axes));
    const auto title = std::find_if(records.rbegin(), records.rend(), [](const RawRecord& r) { return r.type == 0x1025; });
    Body text = Body().u8(2).u8(2).u16(1).u32(0);
    for (int32_t value : titleBox)
        text.u32(static_cast<uint32_t>(value));
    *title = record(0x1025, text.u16(0).u16(0).u16(0).u16(0));
    records.insert(title.base() + 1, position(2, 2, {titleOffset[0], titleOffset[1], 0, 0}));
    return records;
}

// The chart drawn in 3-D, which the group's block says.
std::vector<RawRecord> inThreeD(std::vector<RawRecord> records)
{
    const auto legend = std::find_if(records.begin(), records.end(), [](const RawRecord& r) { return r.type == 0x1015; });
    records.insert(legend, record(0x103A, Body().u16(0).u16(15).u16(100).u16(20).u16(150).u16(0)));
    return records;
}

RawRecord sheetProperties(uint16_t flags) { return record(0x1044, Body().u16(flags).u8(0).u8(0)); }

constexpr uint16_t kStoredPlotArea = 0x001B, kDefaultPlotArea = 0x000A;
constexpr uint16_t kEdge = 2, kFactor = 1;

uint32_t pixelAt(cairo_surface_t* image, int x, int y)
{
    return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image) +
                                             y * cairo_image_surface_get_stride(image))[x] & 0xFFFFFF;
}

// The pixels in box that are the plot's grey, and those that are nearly black.
std::pair<size_t, size_t> greyAndDarkIn(cairo_surface_t* image, const Box& box)
{
    size_t grey = 0, dark = 0;
    for (int y = static_cast<int>(box.y); y < static_cast<int>(box.y + box.height); ++y)
        for (int x = static_cast<int>(box.x); x < static_cast<int>(box.x + box.width); ++x) {
            const uint32_t pixel = pixelAt(image, x, y);
            grey += pixel == 0xC0C0C0 ? 1 : 0;
            dark += (pixel & 0xFF) < 96 ? 1 : 0;
        }
    return {grey, dark};
}

}  // namespace

TEST(ChartLayout, StoredPlotAreaAndTitleLandWhereTheFilePutThemAndNowhereElse)
{
    const std::array<int16_t, 4> corner{2000, 2000, 1900, 1900};  // the bottom right quarter
    const std::array<int16_t, 4> most{200, 200, 3700, 3700};
    const DrawingShare quarter{0.5, 0.5, 0.975, 0.975};
    struct Case {
        std::string what;
        std::vector<RawRecord> records;
        std::optional<DrawingShare> plot;
        bool inner = false;
        std::optional<DrawingShare> title;
    };
    const Case cases[] = {
        {"a plot area kept where its position says", laidOutChart(corner, {sheetProperties(kStoredPlotArea)}), quarter},
        {"a plot area the program lays out itself", laidOutChart(corner, {sheetProperties(kDefaultPlotArea)}), {}},
        {"a 3-D chart's, which fits a projection not drawn here",
         inThreeD(laidOutChart(corner, {sheetProperties(kStoredPlotArea)})), {}},
        {"laid out by its inside, in the newer record",
         laidOutChart(most, {sheetProperties(kStoredPlotArea),
                             plotLayout(most, true, {kEdge, kEdge, kFactor, kFactor}, {0.5, 0.5, 0.45, 0.45})}),
         DrawingShare{0.5, 0.5, 0.95, 0.95}, true},
        {"bottom right corner given as an edge",
         laidOutChart(most, {sheetProperties(kStoredPlotArea),
                             plotLayout(most, false, {kEdge, kEdge, kEdge, kEdge}, {0.5, 0.5, 0.975, 0.975})}),
         quarter},
        {"the newer record says automatic",
         laidOutChart(corner, {sheetProperties(kStoredPlotArea), plotLayout(corner, true, {0, 0, 0, 0}, {})}), {}},
        {"a newer record out of date falls back on the position",
         laidOutChart(corner, {sheetProperties(kStoredPlotArea),
                               plotLayout(most, true, {kEdge, kEdge, kFactor, kFactor}, {0.1, 0.1, 0.2, 0.2})}),
         quarter},
        {"an offset from an unknown place names no rectangle",
         laidOutChart(corner, {sheetProperties(kStoredPlotArea),
                               plotLayout(corner, true, {kFactor, kFactor, kFactor, kFactor}, {0.1, 0.1, 0.2, 0.2})}),
         quarter},
        {"a plot area past the chart's edge", laidOutChart(std::array<int16_t, 4>{2000, 0, 3000, 4000}, {sheetProperties(kStoredPlotArea)}), {}},
        {"a plot area of a negative width", laidOutChart(std::array<int16_t, 4>{2000, 0, -500, 4000}, {sheetProperties(kStoredPlotArea)}), {}},
        {"a newer layout wider than the chart falls back on the position",
         laidOutChart(corner, {sheetProperties(kStoredPlotArea),
                               plotLayout(corner, true, {kEdge, kEdge, kFactor, kFactor}, {0.5, 0.5, 3, 0.4})}),
         quarter},
        {"a title moved to the bottom left", laidOutChart({}, {}, {200, 3400, 1200, 300}, {-100, 3000}), {}, false,
         DrawingShare{0.05, 0.85, 0.05 + 0.3, 0.85 + 0.075}},
        {"a title where the program put it", laidOutChart({}, {}, {1400, 100, 1200, 300}, {0, 0}), {}},
        {"a title moved off the chart", laidOutChart({}, {}, {3900, 3900, 800, 300}, {-100, 3000}), {}},
    };
    const Box whole{0, 0, 400, 300};
    for (const Case& c : cases) {
        const Workbook book = chartSheetWorkbook(c.records);
        EXPECT_TRUE(book.warnings.empty()) << c.what;
        ASSERT_EQ(book.sheets.at(1).charts.size(), 1u) << c.what;
        const Chart& chart = book.sheets[1].charts[0];
        const auto expectPlaced = [&](const std::optional<DrawingShare>& actual, const std::optional<DrawingShare>& expected) {
            ASSERT_EQ(actual.has_value(), expected.has_value()) << c.what;
            if (actual)
                support::expectBox(chart::shareOf(whole, *actual), chart::shareOf(whole, *expected), c.what);
        };
        expectPlaced(chart.plotBox, c.plot);
        EXPECT_EQ(chart.plotBoxInner, c.inner) << c.what;
        expectPlaced(chart.titleBox, c.title);
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 300);
        cairo_t* cr = cairo_create(image);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        CellFonts fonts(book);
        paintChart(cr, book, fonts, chart, whole);
        cairo_destroy(cr);
        cairo_surface_flush(image);
        // The plot's grey lies in the stored rectangle (from its very corner when that is the
        // plot's inside), else also over the top left, where the plot goes around title and legend.
        const size_t allGrey = greyAndDarkIn(image, whole).first;
        const size_t topLeftGrey = greyAndDarkIn(image, {60, 60, 100, 80}).first;
        if (c.plot) {
            const Box plot = chart::shareOf(whole, *c.plot);
            EXPECT_LT(allGrey - greyAndDarkIn(image, plot).first, 10u) << c.what;  // a few antialiased text pixels
            EXPECT_EQ(topLeftGrey, 0u) << c.what;
            if (c.inner) {
                EXPECT_EQ(pixelAt(image, static_cast<int>(plot.x) + 2, static_cast<int>(plot.y) + 3), 0xC0C0C0u) << c.what;
            }
        } else {
            EXPECT_GT(topLeftGrey, 2000u) << c.what;
        }
        // The title's ink lies in its stored box, and none in the top strip where it would go.
        const size_t topInk = greyAndDarkIn(image, {0, 0, 400, 30}).second;
        if (c.title) {
            EXPECT_GT(greyAndDarkIn(image, chart::shareOf(whole, *c.title)).second, 20u) << c.what;
            EXPECT_LT(topInk, 5u) << c.what;
        } else {
            EXPECT_GT(topInk, 20u) << c.what;
        }
        cairo_surface_destroy(image);
    }
}

TEST(ChartScale, StepsAndBoundsAsTheProgramChoosesThem)
{
    const ChartAxis automatic;
    const chart::Scale tens = chart::valueScale(3, 87, automatic);
    EXPECT_EQ(tens.minimum, 0);
    EXPECT_EQ(tens.maximum, 90);
    EXPECT_EQ(tens.step, 10);
    // Values far above zero keep the axis off zero; negative ones take it below.
    const chart::Scale high = chart::valueScale(950, 1000, automatic);
    EXPECT_GT(high.minimum, 0);
    EXPECT_LE(high.minimum, 950);
    EXPECT_EQ(chart::valueScale(-12, 40, automatic).minimum, -20);
    ChartAxis fixed;
    fixed.minimum = 500;
    fixed.maximum = 1200;
    fixed.majorUnit = 100;
    const chart::Scale stored = chart::valueScale(0, 3, fixed);
    EXPECT_EQ(stored.ticks().size(), 8u);
    EXPECT_EQ(stored.ticks().back(), 1200);
    // Values at the ends of the number range give an axis that can still be drawn.
    const chart::Scale extreme = chart::valueScale(-1.7e308, 1.7e308, automatic);
    EXPECT_TRUE(std::isfinite(extreme.minimum) && std::isfinite(extreme.maximum) && extreme.step > 0);
    // Nothing to show still gives an axis.
    const chart::Scale empty = chart::valueScale(std::numeric_limits<double>::infinity(), -1, automatic);
    EXPECT_LT(empty.minimum, empty.maximum);
}

class ChartPrints : public ::testing::Test {
protected:
    std::filesystem::path print(const Workbook& book, const std::string& name = "print")
    {
        return support::printToPdf(book, scratch, name);
    }
    support::ScratchFolder scratch;
};

TEST_F(ChartPrints, AChartSheetPrintsOnAPageOfItsOwn)
{
    const auto pdf = print(chartSheetWorkbook(chartRecords({linkedSeries}, stackedColumns())));
    ASSERT_EQ(support::pdfPageCount(pdf), 2);
    const std::string text = support::pdfText(pdf, 2);
    EXPECT_NE(text.find("Yearly sales"), std::string::npos);
    EXPECT_NE(text.find("North"), std::string::npos);
    EXPECT_EQ(text.find("East"), std::string::npos);  // the axis labels every second category
    EXPECT_NE(text.find("South"), std::string::npos);
    EXPECT_NE(text.find("Sales"), std::string::npos);  // the legend
    EXPECT_GT(support::pdfInk(pdf, 2), 0.01);
}

TEST_F(ChartPrints, EveryKindOfChartPutsItsSeriesOnThePage)
{
    const std::vector<RawRecord> kinds{
        stackedColumns(), record(0x1017, Body().u16(0).u16(50).u16(0x0001)), record(0x1018, Body().u16(0)),
        record(0x1019, Body().u16(0).u16(0).u16(0)), record(0x101A, Body().u16(0x0001)),
        record(0x101B, Body().u16(100).u16(1).u16(0)), record(0x103E, Body().u16(1).u16(0)),
        record(0x1040, Body().u16(1).u16(0))};
    WorkbookBuilder full = withData(), empty = withData();
    full.sheet(dataSheet());
    empty.sheet(dataSheet());
    for (const RawRecord& kind : kinds) {
        full.sheet({.name = "Chart", .records = chartRecords({darkSeries}, kind), .kind = 2});
        empty.sheet({.name = "Chart", .records = chartRecords({}, kind), .kind = 2});
    }
    const auto withSeries = print(loadWorkbook(full.file()), "full");
    const auto without = print(loadWorkbook(empty.file()), "empty");
    ASSERT_EQ(support::pdfPageCount(withSeries), 1 + static_cast<int>(kinds.size()));
    // Both print the same fixed axes, so that only the series make the difference.
    for (int page = 2; page <= support::pdfPageCount(withSeries); ++page)
        EXPECT_GT(support::pdfInk(withSeries, page), support::pdfInk(without, page) + 0.001) << "page " << page;
}

TEST_F(ChartPrints, ARadarNamesEverySpokeAndNumbersItsValueAxis)
{
    const auto pdf = print(chartSheetWorkbook(chartRecords({linkedSeries}, record(0x103E, Body().u16(1).u16(0)))));
    ASSERT_EQ(support::pdfPageCount(pdf), 2);
    const std::string text = support::pdfText(pdf, 2);
    // Spokes are not thinned out as the labels under a category axis are.
    for (const char* word : {"North", "East", "South", "0", "10", "20", "30", "Sales", "Yearly sales"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST_F(ChartPrints, BubblesKeepTheProportionsOfTheirSizes)
{
    std::vector<RawRecord> sized = darkSeries;
    sized.insert(sized.begin(), link(3, 1, 3, 2));  // sizes 5, 15 and 25
    const auto inkOf = [&](const RawRecord& kind, const std::string& name) {
        return support::pdfInk(print(chartSheetWorkbook(chartRecords({sized}, kind)), name), 2);
    };
    const double points = inkOf(record(0x101B, Body().u16(100).u16(1).u16(0)), "points");
    const double byArea = inkOf(record(0x101B, Body().u16(100).u16(1).u16(1)), "area");
    const double byWidth = inkOf(record(0x101B, Body().u16(100).u16(2).u16(1)), "width");
    const double larger = inkOf(record(0x101B, Body().u16(200).u16(1).u16(1)), "larger");
    EXPECT_GT(byArea, points + 0.01);
    // Widths in proportion make the smaller bubbles smaller than areas in proportion do.
    EXPECT_LT(byWidth, byArea - 0.002);
    EXPECT_GT(larger, byArea + 0.01);
}

TEST(ChartPlots, ABarOfPieShowsItsLastPointsApartAndTheirTotalAsOneSlice)
{
    const Workbook book = loadWorkbook(withData().sheet(dataSheet()).file());  // the default palette
    Chart chart;
    ChartSeries series;
    series.values = {10.0, 20.0, 30.0, 40.0};
    chart.series = {series};
    ChartGroup group;
    group.kind = ChartKind::Pie;
    group.variedColors = true;
    group.secondPlot = SecondPlot{.kind = SecondPlot::Kind::Bar, .lastPoints = 2};
    chart.groups = {group};
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 400, 200);
    cairo_t* cr = cairo_create(image);
    CellFonts fonts(book);
    paintChart(cr, book, fonts, chart, Box{0, 0, 400, 200});
    cairo_destroy(cr);
    cairo_surface_flush(image);
    const auto colorAt = [&](int x, int y) {
        const uint32_t pixel = reinterpret_cast<const uint32_t*>(
            cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image))[x];
        return Color{static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel)};
    };
    for (size_t point = 1; point <= 4; ++point)
        ASSERT_NE(chart::pointFill(book, series, point), chart::pointFill(book, series, point - 1));
    // The pie (centre 137,100, radius 85) faces the bar (x 306 to 348, y 37 to 163) with the
    // slice of the last two points' total, 70% of the whole; its own slices follow clockwise.
    EXPECT_EQ(colorAt(200, 100), chart::pointFill(book, series, 4)) << "the slice of the points apart";
    EXPECT_EQ(colorAt(80, 100), chart::pointFill(book, series, 1)) << "the second point at nine o'clock";
    EXPECT_EQ(colorAt(327, 150), chart::pointFill(book, series, 2)) << "the bar's lower part";
    EXPECT_EQ(colorAt(327, 60), chart::pointFill(book, series, 3)) << "the bar's upper part";
    cairo_surface_destroy(image);
}

TEST_F(ChartPrints, AChartThatCannotBeReadPrintsNothing)
{
    const auto pdf = print(chartSheetWorkbook({record(0x1001, Body().u16(0))}));
    EXPECT_EQ(support::pdfPageCount(pdf), 1);
}

TEST_F(ChartPrints, CorpusChartsAreReadAndPrinted)
{
    const std::filesystem::path corpus = support::corpusFolder();
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus << " (set KX_CORPUS_DIR)";
    // Seventeen chart sheets of line charts, each a page.
    const Workbook lines = openWorkbook((corpus / "poi-12843-1.xls").string());
    size_t chartSheets = 0;
    for (const Sheet& sheet : lines.sheets)
        if (sheet.kind == SheetKind::Chart && !sheet.charts.empty()) {
            ++chartSheets;
            EXPECT_EQ(sheet.charts[0].groups.at(0).kind, ChartKind::Line);
            ASSERT_FALSE(sheet.charts[0].series.empty());
            EXPECT_FALSE(sheet.charts[0].series[0].values.empty());
        }
    EXPECT_EQ(chartSheets, 17u);
    // Printed with the worksheets hidden, each chart sheet is a page that shows its chart.
    Workbook chartsOnly = lines;
    for (Sheet& sheet : chartsOnly.sheets)
        if (sheet.kind != SheetKind::Chart)
            sheet.visibility = Visibility::Hidden;
    const auto pdf = print(chartsOnly, "lines");
    const int pages = support::pdfPageCount(pdf);
    EXPECT_EQ(pages, static_cast<int>(chartSheets));
    for (int page = 1; page <= pages; ++page)
        EXPECT_GT(support::pdfInk(pdf, page), 0.01) << "page " << page;
    // A chart sheet's text boxes lie within its chart, in 1/4000 of its size.
    const auto withNote = std::find_if(lines.sheets.begin(), lines.sheets.end(), [](const Sheet& sheet) {
        return sheet.kind == SheetKind::Chart && !sheet.drawings.empty();
    });
    ASSERT_NE(withNote, lines.sheets.end());
    const Drawing& note = withNote->drawings.front();
    EXPECT_EQ(note.kind, DrawingKind::TextBox);
    EXPECT_NE(note.text.utf8.find("完工數375,200"), std::string::npos);
    EXPECT_NEAR(note.share.left, 2417 / 4000.0, 1e-9);
    EXPECT_NEAR(note.share.bottom, 1466 / 4000.0, 1e-9);
    // Embedded charts become drawings placed by their anchors.
    const Workbook florida = openWorkbook((corpus / "poi-florida-data.xls").string());
    size_t embedded = 0;
    for (const Sheet& sheet : florida.sheets)
        for (const Drawing& drawing : sheet.drawings)
            if (drawing.kind == DrawingKind::Chart) {
                ++embedded;
                ASSERT_TRUE(drawing.chart);
                EXPECT_LT(*drawing.chart, sheet.charts.size());
            }
    EXPECT_EQ(embedded, 2u);
    // Their legend lies where it was put, over the top of the chart, with value labels on the columns.
    const Chart& columns = florida.sheets.back().charts.at(0);
    EXPECT_EQ(columns.legendPosition, LegendPosition::Floating);
    EXPECT_NEAR(columns.legendArea.left, 0.32, 0.01);
    EXPECT_LT(columns.legendArea.top, 0.05);
    EXPECT_TRUE(columns.series.at(0).format.valueLabels);
    EXPECT_FALSE(columns.valueAxis.line);
    const Workbook scatter = openWorkbook((corpus / "poi-ex42570-20305.xls").string());
    ASSERT_EQ(scatter.sheets.at(1).charts.size(), 1u);
    EXPECT_EQ(scatter.sheets[1].charts[0].groups.at(0).kind, ChartKind::Scatter);
    EXPECT_EQ(scatter.sheets[1].charts[0].printSize, ChartPrintSize::FillPage);
    // Its last chart measures three series on a secondary axis of percentages, labelled as
    // their cells show them.
    const Chart& last = lines.sheets.back().charts.at(0);
    ASSERT_EQ(last.groups.size(), 2u);
    EXPECT_TRUE(last.groups[1].secondary);
    EXPECT_TRUE(last.secondaryValueAxis.shown);
    EXPECT_EQ(lines.numberFormatCode(last.series.back().valueFormat), "0.00%");
}

namespace {

// A workbook of one empty worksheet and a chart sheet holding the chart.
Workbook withChartSheet(Chart chart)
{
    Workbook book = support::workbookWithSheet("Data");
    support::setText(book, book.sheets[0], 0, 0, "data");
    Sheet sheet{.name = "Chart", .kind = SheetKind::Chart};
    sheet.charts.push_back(std::move(chart));
    book.sheets.push_back(std::move(sheet));
    return book;
}

ChartSeries series(const std::string& name, std::vector<std::optional<double>> values, uint16_t group = 0)
{
    ChartSeries one;
    one.name = name;
    one.values = std::move(values);
    one.group = group;
    return one;
}

size_t occurrences(const std::string& text, const std::string& word)
{
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST_F(ChartPrints, AxesAndPointsAreLabelledAsTheirCellsShowTheirValues)
{
    Chart chart;
    chart.groups = {ChartGroup{}, ChartGroup{.kind = ChartKind::Line, .secondary = true}};
    chart.valueAxis.shown = chart.secondaryValueAxis.shown = chart.categoryAxis.shown = true;
    chart.legend = true;
    chart.series = {series("Revenue", {1000, 2000, 3000}), series("Margin", {0.25, 0.5, 0.75}, 1)};
    chart.series[0].valueFormat = 3;   // #,##0
    chart.series[0].format.valueLabels = true;
    chart.series[1].valueFormat = 10;  // 0.00%
    chart.series[0].categories = {"North", "East", "South"};
    const std::string text = support::pdfText(print(withChartSheet(chart)), 2);
    for (const char* word : {"3,000", "1,500", "80.00%", "40.00%", "North", "East", "South", "Revenue", "Margin"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
    EXPECT_EQ(occurrences(text, "2,000"), 2u);  // a tick and the label over the middle column
}

TEST_F(ChartPrints, LongCategoryLabelsWrapRatherThanGoMissing)
{
    Chart chart;
    chart.groups = {ChartGroup{}};
    chart.valueAxis.shown = chart.categoryAxis.shown = true;
    chart.series = {series("Sales", std::vector<std::optional<double>>(20, 5.0))};
    // Wider than their category: Latin words wrap between words, Chinese text between characters.
    for (int i = 0; i < 20; ++i)
        chart.series[0].categories.push_back(i % 2 ? "Q4 next year" : "第一季度報告");
    Workbook book = withChartSheet(chart);
    book.sheets[1].pageSetup.landscape = true;
    const std::string text = support::pdfText(print(book), 2);
    EXPECT_EQ(occurrences(text, "next"), 10u);
    EXPECT_EQ(occurrences(text, "year"), 10u);
    EXPECT_EQ(occurrences(text, "報"), 10u);
}

TEST_F(ChartPrints, LongWordsBreakWithoutHyphensInChartsTextBoxesAndComments)
{
    const std::string word = "Pneumonoultramicroscopicsilicovolcanoconiosis";
    Chart chart;
    chart.groups = {ChartGroup{}};
    chart.valueAxis.shown = chart.categoryAxis.shown = true;
    chart.series = {series("Sales", std::vector<std::optional<double>>(12, 5.0))};
    chart.series[0].categories.assign(12, word);
    Workbook book = withChartSheet(chart);
    Sheet& data = book.sheets[0];
    data.drawings.push_back({.kind = DrawingKind::TextBox, .anchor = {.firstColumn = 2, .lastColumn = 3,
                                                                      .firstRow = 2, .lastRow = 12},
                             .text = {word}});
    data.comments.push_back({.cell = {0, 0}, .text = word + word + word + word + word});
    data.pageSetup.comments = CommentPrinting::AtEnd;
    const std::string text = support::pdfText(print(book));
    EXPECT_EQ(text.find("\u2010"), std::string::npos) << text;  // the hyphen pango adds
    EXPECT_EQ(text.find('-'), std::string::npos) << text;
    EXPECT_NE(text.find("Pneumono"), std::string::npos);
}

TEST_F(ChartPrints, APieNamesItsSlicesInTheLegendAndWritesTheirShares)
{
    Chart chart;
    chart.groups = {ChartGroup{.kind = ChartKind::Pie, .variedColors = true}};
    chart.legend = true;
    chart.title = "Share by region";
    chart.series = {series("Sales", {3, std::nullopt, 1})};
    chart.series[0].categories = {"Inland", "Coast", "Islands"};
    chart.series[0].format.percentLabels = true;
    chart.series[0].format.categoryLabels = true;
    const auto pdf = print(withChartSheet(chart));
    const std::string text = support::pdfText(pdf, 2);
    for (const char* word : {"Share by region", "Inland", "Coast", "Islands", "75%", "25%"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
    EXPECT_EQ(text.find("Sales"), std::string::npos);
    EXPECT_EQ(occurrences(text, "Islands"), 2u);  // in the legend and beside its slice
    EXPECT_EQ(occurrences(text, "Coast"), 1u);    // a slice without a value has no label
}
