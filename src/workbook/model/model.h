#pragma once
// The in-memory workbook: what the reader fills and the print engine draws.
// Plain data; no file-format or toolkit types. The parts live in cells.h, drawings.h and
// page_setup.h; this header brings them together with the sheet and the workbook.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbook/model/cells.h"
#include "workbook/model/drawings.h"
#include "workbook/model/load_warnings.h"
#include "workbook/model/page_setup.h"

namespace kx::workbook {

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
    std::vector<DataBar> dataBars;      // what conditional formats draw in cells, ascending by cell

    const Row* row(uint32_t index) const;                      // nullptr when absent
    const Cell* cell(uint32_t row, uint16_t column) const;     // nullptr when absent
    const ColumnInfo* column(uint16_t index) const;            // nullptr when no COLINFO covers it
    const DataBar* dataBar(uint32_t row, uint16_t column) const;  // nullptr when none is drawn there
};

// The workbook's summary information as its file stores it; empty texts where it says nothing.
struct DocumentSummary {
    std::string title, subject, author, keywords;
};

// Colour indexes from here on name Workbook::extraColors, up to the automatic font colour 0x7FFF.
inline constexpr uint16_t kFirstExtraColor = 0x0100;

struct Workbook {
    std::vector<Sheet> sheets;          // in the file's order, every kind
    std::vector<Font> fonts;
    std::vector<CellFormat> formats;    // cell formats, by XF index
    std::vector<NumberFormat> numberFormats;  // those defined in the file; built-ins are implied
    std::vector<RichText> strings;      // shared strings, then strings of labels and formulas
    std::vector<Color> palette;         // 56 entries for indexes 8..63
    std::vector<Color> extraColors;     // colours conditional formats work out, from kFirstExtraColor
    std::vector<Picture> pictures;      // the picture store; drawings name pictures by index
    bool dateSystem1904 = false;
    uint16_t codePage = 1252;
    LoadWarnings warnings;              // what reading had to leave out
    DocumentSummary summary;

    // The colour of a palette index, with automatic colours resolved to `automatic`.
    Color color(uint16_t index, Color automatic) const;
    // The format code for a number-format id: the file's own, else the built-in one, else "General".
    const std::string& numberFormatCode(uint16_t id) const;
};

}  // namespace kx::workbook
