#include "workbook/render/shape_painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "workbook/canvas/cairo_paint.h"

namespace kx::workbook {
namespace {

// A rounded rectangle's corners take a sixth of its shorter side, as drawn by default.
constexpr double cornerShare = 1.0 / 6;
// Arrowheads grow with the line: three widths long and wide, never smaller than a few points.
constexpr double arrowWidths = 3, smallestArrow = 4.5;

struct Point {
    double x, y;
};

void traceRoundRectangle(cairo_t* cr, const Box& box)
{
    const double radius = std::min(box.width, box.height) * cornerShare;
    const double right = box.x + box.width, bottom = box.y + box.height;
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, right - radius, box.y + radius, radius, -quarter, 0);
    cairo_arc(cr, right - radius, bottom - radius, radius, 0, quarter);
    cairo_arc(cr, box.x + radius, bottom - radius, radius, quarter, 2 * quarter);
    cairo_arc(cr, box.x + radius, box.y + radius, radius, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

void traceEllipse(cairo_t* cr, const Box& box)
{
    if (box.width <= 0 || box.height <= 0)
        return;
    cairo_save(cr);
    cairo_translate(cr, box.x + box.width / 2, box.y + box.height / 2);
    cairo_scale(cr, box.width / 2, box.height / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(cr);  // the path stays; the outline's width is not scaled with it
}

void tracePolygon(cairo_t* cr, std::initializer_list<Point> corners)
{
    for (const Point& corner : corners)
        cairo_line_to(cr, corner.x, corner.y);
    cairo_close_path(cr);
}

void traceOutline(cairo_t* cr, ShapeGeometry geometry, const Box& box)
{
    const double left = box.x, top = box.y, right = box.x + box.width, bottom = box.y + box.height;
    const double middleX = left + box.width / 2, middleY = top + box.height / 2;
    switch (geometry) {
    case ShapeGeometry::RoundRectangle: traceRoundRectangle(cr, box); break;
    case ShapeGeometry::Ellipse: traceEllipse(cr, box); break;
    case ShapeGeometry::Diamond:
        tracePolygon(cr, {{middleX, top}, {right, middleY}, {middleX, bottom}, {left, middleY}});
        break;
    case ShapeGeometry::Triangle: tracePolygon(cr, {{middleX, top}, {right, bottom}, {left, bottom}}); break;
    case ShapeGeometry::RightTriangle: tracePolygon(cr, {{left, top}, {right, bottom}, {left, bottom}}); break;
    default: cairo_rectangle(cr, box.x, box.y, box.width, box.height); break;
    }
}

void paintArrowhead(cairo_t* cr, Point tip, Point from, double lineWidth)
{
    const double length = std::max(arrowWidths * lineWidth, smallestArrow);
    const double angle = std::atan2(tip.y - from.y, tip.x - from.x);
    const double spread = std::atan2(0.5, 1.0);  // as wide as it is long
    const double side = length / std::cos(spread);
    cairo_move_to(cr, tip.x, tip.y);
    cairo_line_to(cr, tip.x - side * std::cos(angle - spread), tip.y - side * std::sin(angle - spread));
    cairo_line_to(cr, tip.x - side * std::cos(angle + spread), tip.y - side * std::sin(angle + spread));
    cairo_close_path(cr);
    cairo_fill(cr);
}

// The outline's dashes, scaled from line widths to points; a hairline's as if a point wide.
void setDashes(cairo_t* cr, const Drawing& drawing)
{
    std::vector<double> lengths = drawing.dashes;
    for (double& length : lengths)
        length *= std::max(drawing.lineWidth, 1.0);
    cairo_set_dash(cr, lengths.data(), static_cast<int>(lengths.size()), 0);
}

void paintLine(cairo_t* cr, const Drawing& drawing, const Box& box)
{
    if (!drawing.line)
        return;
    const double left = box.x, top = box.y, right = box.x + box.width, bottom = box.y + box.height;
    const Point start{drawing.flippedAcross ? right : left, drawing.flippedUp ? bottom : top};
    const Point end{drawing.flippedAcross ? left : right, drawing.flippedUp ? top : bottom};
    cairo_save(cr);
    setSourceColor(cr, *drawing.line);
    cairo_set_line_width(cr, drawing.lineWidth);
    setDashes(cr, drawing);
    cairo_move_to(cr, start.x, start.y);
    cairo_line_to(cr, end.x, end.y);
    cairo_stroke(cr);
    cairo_restore(cr);
    if (drawing.arrowAtEnd)
        paintArrowhead(cr, end, start, drawing.lineWidth);
    if (drawing.arrowAtStart)
        paintArrowhead(cr, start, end, drawing.lineWidth);
}

}  // namespace

void paintShape(cairo_t* cr, const Drawing& drawing, const Box& box)
{
    if (drawing.geometry == ShapeGeometry::Line) {
        paintLine(cr, drawing, box);
        return;
    }
    // Flipped shapes (a triangle pointing down) are mirrored about their middle.
    cairo_save(cr);
    cairo_translate(cr, box.x + box.width / 2, box.y + box.height / 2);
    cairo_scale(cr, drawing.flippedAcross ? -1 : 1, drawing.flippedUp ? -1 : 1);
    traceOutline(cr, drawing.geometry, {-box.width / 2, -box.height / 2, box.width, box.height});
    cairo_restore(cr);
    cairo_save(cr);
    setDashes(cr, drawing);
    fillAndStroke(cr, drawing.fill, drawing.line, drawing.lineWidth);
    cairo_restore(cr);
}

}  // namespace kx::workbook
