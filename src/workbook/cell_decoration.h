#pragma once
// Fills and borders of one cell, drawn with cairo in unscaled points.
#include <cairo.h>

#include "workbook/model.h"

namespace kx::workbook {

struct Box {
    double x = 0, y = 0, width = 0, height = 0;
};

void setSourceColor(cairo_t* cr, Color color);

// Solid fills in the foreground colour; patterns as a blend of their two colours by ink coverage.
void paintFill(cairo_t* cr, const Workbook& workbook, const CellFormat& format, const Box& box);

void paintBorders(cairo_t* cr, const Workbook& workbook, const CellFormat& format, const Box& box);

}  // namespace kx::workbook
