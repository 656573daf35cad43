#pragma once
// The in-memory workbook: what the reader fills and the print engine draws.
// Plain data; no file-format or toolkit types.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kx::workbook {

struct Color {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Color&) const = default;
};

// Row and column numbers are 0-based, as stored in the file.
struct CellRef {
    uint32_t row = 0;
    uint16_t column = 0;
    bool operator==(const CellRef&) const = default;
};

// Inclusive on both ends.
struct CellRange {
    uint32_t firstRow = 0, lastRow = 0;
    uint16_t firstColumn = 0, lastColumn = 0;
    bool contains(uint32_t row, uint16_t column) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool operator==(const CellRange&) const = default;
};

enum class Underline : uint8_t { None, Single, Double, SingleAccounting, DoubleAccounting };
enum class Script : uint8_t { Normal, Superscript, Subscript };

struct Font {
    std::string name = "Arial";
    uint16_t heightTwips = 200;  // 1/20 point
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    Underline underline = Underline::None;
    Script script = Script::Normal;
    uint16_t colorIndex = 0x7FFF;  // palette index; 0x7FFF is the automatic (window text) colour
};

enum class HorizontalAlign : uint8_t { General, Left, Center, Right, Fill, Justify, CenterAcross, Distributed };
enum class VerticalAlign : uint8_t { Top, Center, Bottom, Justify, Distributed };

// Border line styles as numbered in the file format (0 none .. 13 slanted dash-dot).
enum class BorderStyle : uint8_t {
    None, Thin, Medium, Dashed, Dotted, Thick, Double, Hair,
    MediumDashed, DashDot, MediumDashDot, DashDotDot, MediumDashDotDot, SlantDashDot
};

struct Border {
    BorderStyle style = BorderStyle::None;
    uint16_t colorIndex = 64;  // 64: automatic
};

// A cell format as shown: its own attributes, which win over those of its parent style.
struct CellFormat {
    uint16_t fontIndex = 0;        // index into Workbook::fonts (the file's index 4 gap removed)
    uint16_t numberFormat = 0;     // id into Workbook::numberFormats
    HorizontalAlign horizontal = HorizontalAlign::General;
    VerticalAlign vertical = VerticalAlign::Bottom;
    bool wrap = false;
    bool shrinkToFit = false;
    uint8_t indent = 0;
    uint8_t rotation = 0;          // 0-180 as stored; 255 is stacked text
    Border left, right, top, bottom;
    uint8_t fillPattern = 0;       // 0 none, 1 solid, 2.. patterns
    uint16_t fillForeground = 64;  // palette indexes
    uint16_t fillBackground = 65;
};

enum class CellKind : uint8_t { Blank, Number, Text, Boolean, Error };

struct Cell {
    uint16_t column = 0;
    uint16_t format = 0;   // index into Workbook::formats
    CellKind kind = CellKind::Blank;
    double number = 0;     // Number: the value; Boolean: 0 or 1; Error: the error code
    uint32_t text = 0;     // Text: index into Workbook::strings
};

struct FormatRun {
    uint32_t firstChar = 0;  // in UTF-16 code units from the start of the text, as stored
    uint16_t fontIndex = 0;  // index into Workbook::fonts, as CellFormat::fontIndex
};

struct RichText {
    std::string utf8;
    std::vector<FormatRun> runs;  // empty for plain text
};

struct Row {
    uint32_t index = 0;
    uint16_t heightTwips = 255;
    bool hidden = false;
    bool customHeight = false;
    std::optional<uint16_t> format;   // a row-wide format, when the row has one
    std::vector<Cell> cells;          // ascending by column
};

struct ColumnInfo {
    uint16_t firstColumn = 0, lastColumn = 0;
    uint16_t width = 0;     // 1/256 of the width of the digit zero in the default font
    uint16_t format = 15;
    bool hidden = false;
};

enum class CommentPrinting : uint8_t { None, InPlace, AtEnd };

struct Comment {
    CellRef cell;
    std::string author;
    std::string text;
    bool shown = false;
};

// A cell's hyperlink: a web or mail address, or a place in the same workbook ("Sheet2!A1").
struct Hyperlink {
    CellRange range;
    std::string address;
    std::string location;
};

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

enum class DrawingKind : uint8_t { Picture, TextBox, Chart };

// The part of an anchored rectangle that a shape inside a group takes, as shares of the
// rectangle's width and height; the whole rectangle for a shape of its own.
struct DrawingShare {
    double left = 0, top = 0, right = 1, bottom = 1;
    bool operator==(const DrawingShare&) const = default;
};

// A picture or a text box floating over the cells.
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
    ChartFrame area;  // a chart without a frame record of its own has neither fill nor outline
    ChartFrame plotArea{Color{192, 192, 192}, Color{128, 128, 128}};
    ChartPrintSize printSize = ChartPrintSize::FillPage;
    double width = 0, height = 0;  // points, as stored
};

// The page set-up as stored in the file; the print engine lays the caller's settings over it.
struct PageSetup {
    uint16_t paperSize = 9;     // spreadsheet paper code (1 Letter, 5 Legal, 9 A4 ...)
    uint16_t scale = 100;       // percent
    bool fitToPages = false;    // fit to fitWidth by fitHeight pages instead of scale
    uint16_t fitWidth = 1, fitHeight = 1;  // 0 means "as many as needed"
    bool landscape = false;
    bool overThenDown = false;  // page order; false is down then over
    std::optional<uint16_t> firstPageNumber;
    bool blackAndWhite = false;
    double leftMargin = 0.75, rightMargin = 0.75, topMargin = 1.0, bottomMargin = 1.0;  // inches
    double headerMargin = 0.5, footerMargin = 0.5;
    bool centerHorizontally = false, centerVertically = false;
    bool gridlines = false;
    bool headings = false;
    CommentPrinting comments = CommentPrinting::None;
    std::string header, footer;  // with their & codes
    std::vector<uint32_t> rowBreaks;     // a page starts at each of these rows, ascending
    std::vector<uint16_t> columnBreaks;  // a page starts at each of these columns, ascending
    std::vector<CellRange> printArea;    // empty: the used range
    std::optional<std::pair<uint32_t, uint32_t>> titleRows;     // first and last, inclusive
    std::optional<std::pair<uint16_t, uint16_t>> titleColumns;  // first and last, inclusive
};

// What a conditional format changes in the format of a cell whose value meets its condition:
// each part that is set replaces the cell's own. Colours are palette indexes.
struct FormatChange {
    std::optional<uint16_t> fontColor;
    std::optional<bool> bold, italic, strikeout;
    std::optional<Underline> underline;
    std::optional<Border> left, right, top, bottom;
    std::optional<uint8_t> fillPattern;
    std::optional<uint16_t> fillForeground, fillBackground;
};

enum class Comparison : uint8_t { Between, NotBetween, Equal, NotEqual, Greater, Less, GreaterOrEqual, LessOrEqual };

// One condition of a conditional format: a comparison of the cell's value with the values of
// formulas, or a formula of its own that must come out true; formulas as their stored tokens.
// One this engine cannot evaluate stops the rules after it, since whether it holds decides
// whether they apply.
struct ConditionalRule {
    Comparison comparison = Comparison::Equal;
    std::vector<std::vector<uint8_t>> operands;  // one, or two for (not) between
    std::vector<uint8_t> formula;                // a formula of its own, when there are no operands
    FormatChange change;
};

// The rules over some ranges of a sheet, in order: the first that holds applies.
struct ConditionalFormat {
    std::vector<CellRange> ranges;
    std::vector<ConditionalRule> rules;
};

enum class SheetKind : uint8_t { Worksheet, Chart, Macro, Other };
enum class Visibility : uint8_t { Visible, Hidden, VeryHidden };

struct Sheet {
    std::string name;
    SheetKind kind = SheetKind::Worksheet;
    Visibility visibility = Visibility::Visible;
    bool rightToLeft = false;
    std::vector<Row> rows;              // ascending by index; only rows with cells or properties
    std::vector<ColumnInfo> columns;    // ascending, not overlapping
    uint16_t defaultColumnWidth = 8;    // characters, from DEFCOLWIDTH
    std::optional<uint16_t> standardColumnWidth;  // 1/256 characters, from STANDARDWIDTH
    uint16_t defaultRowHeightTwips = 255;
    bool defaultRowsHidden = false;
    std::vector<CellRange> mergedRanges;
    std::vector<Comment> comments;
    std::vector<Hyperlink> hyperlinks;
    PageSetup pageSetup;
    std::vector<Drawing> drawings;      // in drawing order, those that print; on a chart sheet
                                        // placed within the chart by their share alone
    std::vector<Chart> charts;          // a chart sheet's own chart, or those drawings show
    std::vector<ConditionalFormat> conditionalFormats;  // already applied to the cells' formats

    const Row* row(uint32_t index) const;                      // nullptr when absent
    const Cell* cell(uint32_t row, uint16_t column) const;     // nullptr when absent
    const ColumnInfo* column(uint16_t index) const;            // nullptr when no COLINFO covers it
};

struct NumberFormat {
    uint16_t id = 0;
    std::string code;
};

// The workbook's summary information as its file stores it; empty texts where it says nothing.
struct DocumentSummary {
    std::string title, subject, author, keywords;
};

struct Workbook {
    std::vector<Sheet> sheets;          // in the file's order, every kind
    std::vector<Font> fonts;
    std::vector<CellFormat> formats;    // cell formats, by XF index
    std::vector<NumberFormat> numberFormats;  // those defined in the file; built-ins are implied
    std::vector<RichText> strings;      // shared strings, then strings of labels and formulas
    std::vector<Color> palette;         // 56 entries for indexes 8..63
    std::vector<Picture> pictures;      // the picture store; drawings name pictures by index
    bool dateSystem1904 = false;
    uint16_t codePage = 1252;
    DocumentSummary summary;

    // The colour of a palette index, with automatic colours resolved to `automatic`.
    Color color(uint16_t index, Color automatic) const;
    // The format code for a number-format id: the file's own, else the built-in one, else "General".
    const std::string& numberFormatCode(uint16_t id) const;
};

}  // namespace kx::workbook
