#pragma once
// Charts drawn with cairo and pango: frame, title, legend and plot, in points.
#include <cairo.h>

#include "workbook/canvas/cairo_paint.h"
#include "workbook/model/geometry.h"
#include "workbook/canvas/cell_fonts.h"

namespace kx::workbook {

// Draws the chart so that it fills the box.
void paintChart(cairo_t* cr, const Workbook& workbook, CellFonts& fonts, const Chart& chart, const Box& box);

// Where a chart sheet's chart lies between the page's margins (width and height in points).
Box chartSheetBox(const Chart& chart, double width, double height);

}  // namespace kx::workbook
