#pragma once
// The outlines of drawn shapes and text boxes: rectangles, ovals, triangles, lines and their
// arrowheads.
#include <cairo.h>

#include "workbook/model/drawings.h"
#include "workbook/model/geometry.h"

namespace kx::workbook {

// Fills and outlines the drawing's shape in the box, in points, as its fill and line say.
void paintShape(cairo_t* cr, const Drawing& drawing, const Box& box);

}  // namespace kx::workbook
