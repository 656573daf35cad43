#pragma once
// The drawings of a sheet. Its MSODRAWING records, joined, hold the shapes: kind, anchor,
// picture number, fill and line. Each shape's OBJ record follows the MSODRAWING that ends the
// shape, in the same order, and a TXO record after it holds the text of a text box.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbook/xls/escher_records.h"
#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// The first sub-record of an OBJ record, which every object has.
struct ObjectHeader {
    uint16_t kind = 0;
    uint16_t id = 0;
    bool printed = true;
};
inline constexpr uint16_t kCommentObjectKind = 0x0019;
inline constexpr uint16_t kChartObjectKind = 0x0005;

// Nothing when the record does not start with the common object data.
std::optional<ObjectHeader> readObjectHeader(RecordReader& reader);

// The text of a TXO record and its CONTINUE pieces; the format runs as stored, font numbers
// not yet mapped.
struct TextObject {
    uint16_t options = 0;  // horizontal alignment in bits 1-3, vertical in bits 4-6
    std::u16string text;
    std::vector<FormatRun> runs;
};
TextObject readTextObject(RecordReader& reader);

// One shape of the drawing records, before it is matched with its object.
struct Shape {
    std::optional<DrawingAnchor> anchor;  // inside a group, the group's
    DrawingShare share;
    uint32_t picture = 0;                 // 1-based number in the picture store; 0 for none
    std::optional<bool> filled, outlined;
    std::optional<Color> fillColor, lineColor;
    bool offPaper = false;                // hidden, or marked not to print
    uint16_t type = 0;                    // the drawing format's shape type; 0 for none given
    bool flippedAcross = false, flippedUp = false;
    std::optional<double> lineWidth;      // points
    uint32_t lineDashing = 0;             // the drawing format's dash style; 0 for solid
    bool arrowAtStart = false, arrowAtEnd = false;
};

// Where shapes are anchored: to cells of a worksheet, or within a chart sheet's chart, in
// 1/4000 of its width and height.
enum class ShapePlacement : uint8_t { Cells, Chart };

// Every shape that has an object of its own, in drawing order. A shape placed in a chart has
// an empty anchor and its place as its share.
std::vector<Shape> readShapes(Bytes drawing, ShapePlacement placement = ShapePlacement::Cells);

class DrawingCollector {
public:
    // A damaged object or text is said in `warnings`, when given.
    DrawingCollector(size_t fontCount, ShapePlacement placement, LoadWarnings* warnings)
        : fontCount_(fontCount), placement_(placement), warnings_(warnings)
    {
    }
    // Takes note of MSODRAWING, OBJ and TXO records; other records are left alone.
    void read(const Record& record);
    // The chart (an index into Sheet::charts) that the last object shows.
    void attachChart(uint32_t chart);
    // The drawings that print, in drawing order. Comments print only where their object is
    // listed in shownComments: boxes over the cells, as they show on screen.
    std::vector<Drawing> take(const std::vector<uint16_t>& shownComments = {}) const;

private:
    struct Object {
        std::optional<ObjectHeader> header;
        std::optional<TextObject> text;
        std::optional<uint32_t> chart;
    };
    std::optional<Drawing> drawingOf(const Shape& shape, const Object& object,
                                     const std::vector<uint16_t>& shownComments) const;

    size_t fontCount_;
    ShapePlacement placement_;
    LoadWarnings* warnings_;
    std::vector<std::byte> drawing_;
    std::vector<Object> objects_;
};

}  // namespace kx::workbook::detail
