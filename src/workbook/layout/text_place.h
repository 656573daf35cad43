#pragma once
// Where a cell's text goes inside the box it is laid out in, and the clip it prints through,
// from the text's size as measured: plain numbers, so that the painter only draws.
#include <functional>

#include "workbook/model/geometry.h"
#include "workbook/model/model.h"

namespace kx::workbook {

inline constexpr double cellTextPadding = 1.5;  // points between a cell's edge and its text

// The room a text of the given width may take when it is wider than its cell.
using OverflowRoom = std::function<Box(double textWidth, HorizontalAlign align)>;

enum class LineAlign : uint8_t { Left, Center, Right };

// A cell's text as measured for printing.
struct MeasuredText {
    double width = 0, height = 0;  // of the box around the text, turned when it is turned
    double room = 0;               // the cell's width less padding and indent
    double lineWidth = 0;          // where wrapped lines break; room, or wider for fonts wider on screen
    double indent = 0;
    LineAlign lineAlign = LineAlign::Left;
    HorizontalAlign align = HorizontalAlign::General;  // the side it overflows to
    VerticalAlign vertical = VerticalAlign::Bottom;
    bool wraps = false, numeric = false;
    bool rotated = false;  // turned or stacked
    bool turned = false;   // drawn at an angle, about its centre
};

struct TextPlace {
    double x = 0, y = 0;  // top-left corner of the unturned text, or the centre of turned text
    Box clip;
    bool spills = false;   // wider than its cell and drawn over empty neighbours
    bool clipped = false;  // reaches outside clip
};

TextPlace placeCellText(const MeasuredText& text, const Box& box, const OverflowRoom& overflow);

}  // namespace kx::workbook
