#pragma once
// The text of one cell: formatted, fitted (#### for numbers that do not fit, repeat fills,
// wrapping), aligned and clipped.
#include <cairo.h>
#include <pango/pango.h>

#include <functional>

#include "workbook/cell_content.h"
#include "workbook/cell_decoration.h"
#include "workbook/cell_fonts.h"

namespace kx::workbook {

// The room a text of the given width may take when it is wider than its cell.
using OverflowRoom = std::function<Box(double textWidth, HorizontalAlign align)>;

class CellTextPainter {
public:
    CellTextPainter(cairo_t* cr, PangoLayout* layout, const Workbook& workbook, CellFonts& fonts, double digitWidth);

    void paint(const Cell& cell, const Box& box, const OverflowRoom& overflow);

private:
    double setText(const std::string& text, const CellFormat& format, const RichText* rich);
    std::string fittedText(const Cell& cell, CellContent& content, const CellFormat& format, double room);
    void show(const Box& clip, double x, double y, Color color);

    cairo_t* cr_;
    PangoLayout* layout_;
    const Workbook& workbook_;
    CellFonts& fonts_;
    double digitWidth_;
};

}  // namespace kx::workbook
