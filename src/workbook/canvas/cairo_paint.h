#pragma once
// Colour and path helpers over cairo for every painter.
#include <cairo.h>

#include <optional>

#include "workbook/model/model.h"

namespace kx::workbook {

void setSourceColor(cairo_t* cr, Color color);
// Fills the current path and then outlines it, either only when given, and clears the path.
void fillAndStroke(cairo_t* cr, const std::optional<Color>& fill, const std::optional<Color>& line, double lineWidth);

}  // namespace kx::workbook
