#include "workbook/canvas/cairo_paint.h"

namespace kx::workbook {

void setSourceColor(cairo_t* cr, Color color)
{
    cairo_set_source_rgb(cr, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
}

void fillAndStroke(cairo_t* cr, const std::optional<Color>& fill, const std::optional<Color>& line, double lineWidth)
{
    if (fill) {
        setSourceColor(cr, *fill);
        cairo_fill_preserve(cr);
    }
    if (line) {
        setSourceColor(cr, *line);
        cairo_set_line_width(cr, lineWidth);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
}

}  // namespace kx::workbook
