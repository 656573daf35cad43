#include "workbook/render/cell_decoration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace kx::workbook {
namespace {

constexpr Color black{0, 0, 0};
// Neighbouring cells' edges, each summed from column or row sizes, may differ by rounding alone.
constexpr double sameEdge = 1e-6;

struct LineStyle {
    double width;
    std::vector<double> dashes;
};

LineStyle lineStyle(BorderStyle style)
{
    switch (style) {
    case BorderStyle::None: return {0, {}};
    case BorderStyle::Thin: return {0.5, {}};
    case BorderStyle::Medium: return {1.0, {}};
    case BorderStyle::Dashed: return {0.5, {3, 1}};
    case BorderStyle::Dotted: return {0.5, {0.75, 0.75}};
    case BorderStyle::Thick: return {1.5, {}};
    case BorderStyle::Double: return {0.5, {}};
    case BorderStyle::Hair: return {0.25, {}};
    case BorderStyle::MediumDashed: return {1.0, {6, 2}};
    case BorderStyle::DashDot: return {0.5, {4, 1.5, 1.5, 1.5}};
    case BorderStyle::MediumDashDot: return {1.0, {6, 2, 2, 2}};
    case BorderStyle::DashDotDot: return {0.5, {4, 1.5, 1.5, 1.5, 1.5, 1.5}};
    case BorderStyle::MediumDashDotDot: return {1.0, {6, 2, 2, 2, 2, 2}};
    case BorderStyle::SlantDashDot: return {1.0, {6, 1, 2, 1}};
    }
    return {0.5, {}};
}

}  // namespace

void FillRuns::add(const CellFormat& format, const Box& box)
{
    if (format.fillPattern == 0)
        return;
    const Color color = fillColor(workbook_, format);
    if (row_ && row_->color == color && box.y == row_->box.y && box.height == row_->box.height &&
        std::fabs(box.x - (row_->box.x + row_->box.width)) < sameEdge) {
        row_->box.width = box.x + box.width - row_->box.x;
        return;
    }
    closeRow();
    row_ = Run{color, box};
}

void FillRuns::closeRow()
{
    if (!row_)
        return;
    const Box& below = row_->box;
    if (block_ && block_->color == row_->color && std::fabs(block_->box.x - below.x) < sameEdge &&
        std::fabs(block_->box.width - below.width) < sameEdge &&
        std::fabs(block_->box.y + block_->box.height - below.y) < sameEdge) {
        block_->box.height = below.y + below.height - block_->box.y;
    } else {
        paintBlock();
        block_ = row_;
    }
    row_.reset();
}

void FillRuns::paintBlock()
{
    if (!block_)
        return;
    setSourceColor(cr_, block_->color);
    cairo_rectangle(cr_, block_->box.x, block_->box.y, block_->box.width, block_->box.height);
    cairo_fill(cr_);
    block_.reset();
}

void FillRuns::finish()
{
    closeRow();
    paintBlock();
}

BorderStrokes::BorderStrokes(const Workbook& workbook) : workbook_(workbook) {}

void BorderStrokes::add(const CellFormat& format, const Box& box)
{
    const double right = box.x + box.width, bottom = box.y + box.height;
    addEdge(format.top, {box.x, box.y, right, box.y});
    addEdge(format.bottom, {box.x, bottom, right, bottom});
    addEdge(format.left, {box.x, box.y, box.x, bottom});
    addEdge(format.right, {right, box.y, right, bottom});
}

// A double line is two thin lines either side of the edge.
void BorderStrokes::addEdge(const Border& border, const Segment& edge)
{
    if (border.style == BorderStyle::None)
        return;
    const Color color = workbook_.color(border.colorIndex, black);
    auto group = std::find_if(groups_.begin(), groups_.end(),
                              [&](const Group& g) { return g.style == border.style && g.color == color; });
    if (group == groups_.end())
        group = groups_.insert(groups_.end(), Group{border.style, color, {}});
    if (border.style != BorderStyle::Double) {
        group->segments.push_back(edge);
        return;
    }
    const bool horizontal = edge.y0 == edge.y1;
    for (double offset : {-0.75, 0.75}) {
        const double dx = horizontal ? 0 : offset, dy = horizontal ? offset : 0;
        group->segments.push_back({edge.x0 + dx, edge.y0 + dy, edge.x1 + dx, edge.y1 + dy});
    }
}

// Solid edges that continue one another on one line join up: a bordered column strokes as one
// line instead of one a cell. Dashed edges stay apart, so that each cell's dashes start at its corner.
void BorderStrokes::join(std::vector<Segment>& segments)
{
    // Each edge as the line it lies on and its stretch along that line, ordered so that edges
    // continuing one another follow each other.
    struct OnLine {
        bool vertical;
        double line, from, to;
        auto operator<=>(const OnLine&) const = default;
    };
    std::vector<OnLine> edges;
    edges.reserve(segments.size());
    for (const Segment& s : segments)
        edges.push_back(s.y0 == s.y1 ? OnLine{false, s.y0, s.x0, s.x1} : OnLine{true, s.x0, s.y0, s.y1});
    std::sort(edges.begin(), edges.end());
    segments.clear();
    std::optional<OnLine> open;
    const auto close = [&] {
        if (open)
            segments.push_back(open->vertical ? Segment{open->line, open->from, open->line, open->to}
                                              : Segment{open->from, open->line, open->to, open->line});
    };
    for (const OnLine& next : edges) {
        if (open && open->vertical == next.vertical && open->line == next.line && next.from <= open->to + sameEdge) {
            open->to = std::max(open->to, next.to);
            continue;
        }
        close();
        open = next;
    }
    close();
}

void BorderStrokes::stroke(cairo_t* cr)
{
    for (Group& group : groups_) {
        const LineStyle style = lineStyle(group.style);
        if (style.dashes.empty()) {
            join(group.segments);
        } else {
            std::sort(group.segments.begin(), group.segments.end());
            group.segments.erase(std::unique(group.segments.begin(), group.segments.end()), group.segments.end());
        }
        setSourceColor(cr, group.color);
        cairo_set_line_width(cr, style.width);
        cairo_set_dash(cr, style.dashes.data(), static_cast<int>(style.dashes.size()), 0);
        for (const Segment& segment : group.segments) {
            cairo_move_to(cr, segment.x0, segment.y0);
            cairo_line_to(cr, segment.x1, segment.y1);
        }
        cairo_stroke(cr);
    }
    cairo_set_dash(cr, nullptr, 0, 0);
}

void paintDataBar(cairo_t* cr, const DataBar& bar, const Box& box)
{
    constexpr double inset = 1.5;
    const double left = box.x + inset, width = (box.width - 2 * inset) * bar.length, height = box.height - 2 * inset;
    if (width <= 0 || height <= 0)
        return;
    cairo_pattern_t* gradient = cairo_pattern_create_linear(left, 0, left + width, 0);
    const Color& color = bar.color;
    cairo_pattern_add_color_stop_rgb(gradient, 0, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
    cairo_pattern_add_color_stop_rgb(gradient, 1, 1, 1, 1);
    cairo_save(cr);
    cairo_set_source(cr, gradient);
    cairo_rectangle(cr, left, box.y + inset, width, height);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(gradient);
}

}  // namespace kx::workbook
