#pragma once
// Drawings and charts floating over a sheet, and the pictures they show. Plain data.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbook/model/cells.h"

namespace kx::workbook {

// A picture of the workbook's picture store, kept as the file encodes it.
enum class PictureFormat : uint8_t { Unsupported, Png, Jpeg, Dib, Emf, Wmf };

struct Picture {
    PictureFormat format = PictureFormat::Unsupported;
    std::vector<uint8_t> data;  // metafiles unpacked; empty when unsupported or missing
};

// Where a drawing lies on the sheet: the cells of its top-left and bottom-right corners, each
// with an offset into the cell in 1/1024 of the column's width and 1/256 of the row's height.
struct DrawingAnchor {
    uint16_t firstColumn = 0, lastColumn = 0;
    uint32_t firstRow = 0, lastRow = 0;
    uint16_t firstColumnOffset = 0, lastColumnOffset = 0;
    uint16_t firstRowOffset = 0, lastRowOffset = 0;
    bool operator==(const DrawingAnchor&) const = default;
};

enum class DrawingKind : uint8_t { Picture, TextBox, Chart, Shape };

// The outline of a shape or text box within its rectangle. A line runs from corner to corner:
// top left to bottom right, unless flipped across or up.
enum class ShapeGeometry : uint8_t { Rectangle, RoundRectangle, Ellipse, Diamond, Triangle, RightTriangle, Line };

// The part of an anchored rectangle that a shape inside a group takes, as shares of the
// rectangle's width and height; the whole rectangle for a shape of its own.
struct DrawingShare {
    double left = 0, top = 0, right = 1, bottom = 1;
    bool operator==(const DrawingShare&) const = default;
};

// A picture, text box, chart or shape floating over the cells.
struct Drawing {
    DrawingKind kind = DrawingKind::Picture;
    DrawingAnchor anchor;
    DrawingShare share;
    std::optional<uint32_t> picture;  // Picture: index into Workbook::pictures
    std::optional<uint32_t> chart;    // Chart: index into Sheet::charts
    RichText text;                    // TextBox: the text, format runs in Workbook::fonts
    uint16_t fontIndex = 0;           // TextBox: the font of text before the first run
    HorizontalAlign horizontal = HorizontalAlign::Left;
    VerticalAlign vertical = VerticalAlign::Top;
    std::optional<Color> fill, line;  // nothing: not filled, no outline
    ShapeGeometry geometry = ShapeGeometry::Rectangle;  // TextBox, Shape
    bool flippedAcross = false, flippedUp = false;      // Line: which diagonal, which way
    double lineWidth = 0.75;                            // points
    std::vector<double> dashes;  // lengths drawn and left out in turn, in line widths; none: solid
    bool arrowAtStart = false, arrowAtEnd = false;      // Line
};

// Charts. Bars lie across, columns stand up; both come from the same records.
enum class ChartKind : uint8_t { Column, Bar, Line, Pie, Area, Scatter, Radar, FilledRadar };
enum class ChartStacking : uint8_t { None, Stacked, Percent };
enum class MarkerShape : uint8_t { None, Square, Diamond, Triangle, Cross, Star, DowJones, StandardDeviation, Circle, Plus };
enum class LegendPosition : uint8_t { Bottom, Corner, Top, Right, Left, Floating };
// How a chart sheet prints: stretched over the page, as large as its proportions allow, or at
// the size the chart stores.
enum class ChartPrintSize : uint8_t { FillPage, Proportional, Stored };

// The cells a chart reads, on a sheet of this workbook (an index into Workbook::sheets).
struct ChartSource {
    uint32_t sheet = 0;
    CellRange range;
    bool operator==(const ChartSource&) const = default;
};

// A line, fill or marker colour the chart sets itself; nothing takes the automatic one.
struct ChartSeriesFormat {
    std::optional<Color> line, fill;
    bool noLine = false, noFill = false;
    double lineWidth = 1.5;  // points
    std::optional<MarkerShape> marker;
    std::optional<Color> markerLine, markerFill;
    double markerSize = 5;  // points
    bool valueLabels = false, percentLabels = false;  // the value or share written by each point
    bool categoryLabels = false;                       // and the name of its category
};

struct ChartSeries {
    std::string name;
    std::vector<std::string> categories;         // the category labels as their cells show them
    std::vector<std::optional<double>> xValues;  // the categories as numbers, for scatter charts
    std::vector<std::optional<double>> values;   // nothing for an empty cell or a text
    std::vector<std::optional<double>> bubbleSizes;  // bubble charts: the size of each point
    uint16_t valueFormat = 0;                    // the number format of the first value cell
    std::optional<ChartSource> nameSource, categorySource, valueSource, bubbleSource;
    ChartSeriesFormat format;
    std::vector<std::pair<uint16_t, Color>> pointFills;  // fills of single points (pie slices)
    uint16_t group = 0;  // index into Chart::groups
};

// A pie whose smaller slices a second, smaller pie or a stacked bar beside it shows apart; the
// pie shows their total as one slice.
struct SecondPlot {
    enum class Kind : uint8_t { Pie, Bar };
    enum class Split : uint8_t { Position, Value, Percent };
    Kind kind = Kind::Pie;
    Split split = Split::Position;
    uint16_t lastPoints = 2;     // Position: the last so many points
    double belowValue = 0;       // Value: the points of smaller values
    uint16_t belowPercent = 10;  // Percent: the points of smaller shares of the whole
    uint16_t sizePercent = 75;   // of the pie's size
    uint16_t gapPercent = 100;   // between the two, of the pie's radius
};

struct ChartGroup {
    ChartKind kind = ChartKind::Column;
    ChartStacking stacking = ChartStacking::None;
    bool variedColors = false;  // each point its own colour, as pies have
    int16_t overlap = 0;        // of neighbouring bars, percent of a bar's width
    uint16_t gap = 150;         // between categories, percent of a bar's width
    uint16_t firstSliceAngle = 0;  // pies: degrees clockwise from the top
    std::optional<SecondPlot> secondPlot;
    // Scatter charts drawn as bubbles: the largest bubble's size in percent of the default, and
    // whether the sizes give the bubbles' widths rather than their areas.
    bool bubbles = false;
    uint16_t bubbleScale = 100;
    bool bubbleSizeIsWidth = false;
    bool secondary = false;     // measured on the secondary value axis, at the right
};

struct ChartAxis {
    bool shown = false;
    bool line = true;
    bool labels = true;
    bool majorGridlines = false;
    bool betweenCategories = true;  // category axes: points in the middle of their category
    uint16_t labelInterval = 1;     // category axes: every how many categories a label stands
    std::optional<double> minimum, maximum, majorUnit;  // nothing: chosen from the data
    std::optional<uint16_t> numberFormat;  // nothing: that of the first series' values
    std::string title;
    bool titleAcross = false;  // a value axis title written across, above the axis, not up its side
    std::optional<DrawingShare> titleBox;  // where the title was moved to, as shares of the chart
};

struct ChartFrame {
    std::optional<Color> fill, line;  // nothing: not filled, no outline
};

struct Chart {
    std::vector<ChartSeries> series;
    std::vector<ChartGroup> groups;  // never empty once read
    ChartAxis categoryAxis, valueAxis, secondaryValueAxis;
    std::string title;
    std::optional<uint16_t> titleFont;  // index into Workbook::fonts
    std::optional<uint16_t> textFont;
    bool legend = false;
    LegendPosition legendPosition = LegendPosition::Right;
    DrawingShare legendArea;  // Floating: where the legend lies, as shares of the chart
    std::optional<DrawingShare> titleBox;  // where the title was moved to, as shares of the chart
    // Where the plot area was laid out, as shares of the chart: with its axis labels and titles,
    // or only the rectangle the series are drawn in (plotBoxInner). Nothing: placed around the
    // title and legend.
    std::optional<DrawingShare> plotBox;
    bool plotBoxInner = false;
    ChartFrame area;  // a chart without a frame record of its own has neither fill nor outline
    ChartFrame plotArea{Color{192, 192, 192}, Color{128, 128, 128}};
    ChartPrintSize printSize = ChartPrintSize::FillPage;
    double width = 0, height = 0;  // points, as stored
};

}  // namespace kx::workbook
