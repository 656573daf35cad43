#pragma once
// The text of one cell: formatted, fitted (#### for numbers that do not fit, repeat fills,
// wrapping), aligned, rotated and clipped. Planned first, so that the cell painter knows
// where text spills before it draws the gridlines under it.
#include <cairo.h>
#include <pango/pango.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "workbook/format/cell_content.h"
#include "workbook/render/cell_decoration.h"
#include "workbook/canvas/cell_fonts.h"
#include "workbook/canvas/pango_layout.h"
#include "workbook/canvas/shaped_line.h"

namespace kx::workbook {

// The room a text of the given width may take when it is wider than its cell.
using OverflowRoom = std::function<Box(double textWidth, HorizontalAlign align)>;

struct TextPlan {
    std::string text;
    const RichText* rich = nullptr;
    uint16_t fontIndex = 0;
    Color color;
    double wrapWidth = -1;  // points; negative: one line per paragraph
    PangoAlignment alignment = PANGO_ALIGN_LEFT;
    bool justify = false;
    double angle = 0;       // radians, clockwise
    double shrink = 1;      // font scale of text shrunk to fit its cell
    double x = 0, y = 0;    // top-left corner of the unrotated text, or the centre of rotated text
    Box clip;
    bool spills = false;    // wider than its cell and drawn over empty neighbours
    bool clipped = true;    // reaches outside clip
    // Laid out for this plan and drawn as it is: shaping the text again to draw it would cost
    // as much as planning it. Level text of one plain line has only its shaped line.
    LayoutPtr layout;
    std::shared_ptr<const ShapedLine> line;
};

class CellTextPainter {
public:
    // layout: made for cr; each plan gets a layout of its own in the same context.
    CellTextPainter(cairo_t* cr, PangoLayout* layout, const Workbook& workbook, CellFonts& fonts, double digitWidth);

    // Nothing for cells without text.
    std::optional<TextPlan> plan(const Cell& cell, const Box& box, const OverflowRoom& overflow);
    // Leaves out the characters of a left-aligned line that the neighbour cutting it hides in
    // whole or in part, so that the print carries only the text it shows.
    void trimToClip(TextPlan& plan);
    void paint(const TextPlan& plan);

private:
    double setText(const std::string& text, uint16_t fontIndex, const RichText* rich, double shrink = 1);
    PangoRectangle logicalExtents() const;
    void keepText(TextPlan& plan);
    std::string fittedText(const Cell& cell, CellContent& content, const CellFormat& format, double room);
    std::string numberFitted(const Cell& cell, const CellFormat& format, double room, double screen, double screenRoom);
    void setParagraph(const TextPlan& plan, double wrapWidth);
    void setLayout(const TextPlan& plan);

    cairo_t* cr_;
    PangoContext* context_;
    // The text of the plan being made: its shaped line, or when it has none its layout.
    std::shared_ptr<const ShapedLine> line_;
    PangoLayout* layout_ = nullptr;
    bool turned_ = false;  // the plan's text is turned, and only a layout turns
    const Workbook& workbook_;
    CellFonts& fonts_;
    double digitWidth_;
    Paragraph paragraph_;  // of the texts that setText lays out
};

}  // namespace kx::workbook
