#pragma once
// Cells and their formats in the in-memory workbook: fonts, cell formats, rows, columns,
// comments, number formats and conditional formats. Plain data.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kx::workbook {

struct Color {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Color&) const = default;
};

// A sheet has rows 0..65535 and columns 0..255.
inline constexpr uint32_t maxRows = 65536;
inline constexpr uint16_t maxColumns = 256;
inline constexpr uint32_t kLastRow = maxRows - 1;
inline constexpr uint16_t kLastColumn = maxColumns - 1;

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

// Font sizes and row heights are stored in twips.
inline constexpr double kTwipsPerPoint = 20;

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

struct NumberFormat {
    uint16_t id = 0;
    std::string code;
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
    // Colours of their own that later program versions give beside the palette's nearest, and
    // that print in their place.
    std::optional<Color> exactFontColor, exactFillForeground, exactFillBackground;
};

enum class Comparison : uint8_t { Between, NotBetween, Equal, NotEqual, Greater, Less, GreaterOrEqual, LessOrEqual };

// Where a point of a colour scale or an end of a data bar lies among the numbers of the cells
// its conditional format covers.
struct ScaleThreshold {
    enum class Kind : uint8_t { Minimum, Maximum, Number, Percent, Percentile, Formula } kind = Kind::Minimum;
    double value = 0;              // Number; Percent and Percentile from 0 to 100
    std::vector<uint8_t> formula;  // Formula: its stored tokens
};

// A colour of a colour scale or a data bar: a palette index, or a colour of its own.
struct ScaleColor {
    std::optional<uint16_t> paletteIndex;
    Color rgb;
};

// Cells shaded by where their numbers lie between two or three thresholds, each with its colour.
struct ColorScale {
    std::vector<std::pair<ScaleThreshold, ScaleColor>> points;  // from the lowest
};

// A bar in each cell, its length by where the cell's number lies between two thresholds.
struct DataBarRule {
    ScaleThreshold shortest, longest;
    ScaleColor color;
    uint8_t shortestPercent = 10, longestPercent = 90;  // of the cell's width
    bool showsValue = true;                             // else the bar alone prints
};

// One condition of a conditional format: a comparison of the cell's value with the values of
// formulas, or a formula of its own that must come out true; formulas as their stored tokens.
// One this engine cannot evaluate stops the rules after it, since whether it holds decides
// whether they apply. A colour scale or a data bar applies to every number it covers, beside
// the rules that hold or not.
struct ConditionalRule {
    Comparison comparison = Comparison::Equal;
    std::vector<std::vector<uint8_t>> operands;  // one, or two for (not) between
    std::vector<uint8_t> formula;                // a formula of its own, when there are no operands
    FormatChange change;
    std::optional<ColorScale> colorScale;
    std::optional<DataBarRule> dataBar;
};

// A data bar as it prints in a cell: from the cell's left edge, under its text.
struct DataBar {
    CellRef cell;
    double length = 0;  // the share of the cell's width, 0 to 1
    Color color;
};

// The rules over some ranges of a sheet, in order: the first that holds applies.
struct ConditionalFormat {
    std::vector<CellRange> ranges;
    std::vector<ConditionalRule> rules;
};

}  // namespace kx::workbook
