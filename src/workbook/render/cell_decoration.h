#pragma once
// Fills and borders of one cell, drawn with cairo in unscaled points.
#include <cairo.h>

#include <optional>
#include <vector>

#include "workbook/canvas/cairo_paint.h"
#include "workbook/model/cell_fill.h"
#include "workbook/model/geometry.h"
#include "workbook/model/model.h"

namespace kx::workbook {

// Cell fills painted in the order they come: a fill that continues the one before it in the same
// row and colour joins it, and a row's run that lies just under the run before it, as wide and
// of the same colour, joins that, so that a filled block prints as one rectangle, not one a cell.
class FillRuns {
public:
    FillRuns(cairo_t* cr, const Workbook& workbook) : cr_(cr), workbook_(workbook) {}
    void add(const CellFormat& format, const Box& box);
    void finish();  // paints what is still waiting

private:
    struct Run {
        Color color;
        Box box;
    };
    void closeRow();
    void paintBlock();

    cairo_t* cr_;
    const Workbook& workbook_;
    std::optional<Run> row_;    // the run growing along its row
    std::optional<Run> block_;  // the runs before it, joined, not painted yet
};

// The borders of many cells, stroked together: one path for each line style and colour rather
// than a stroke for every edge, and an edge that two neighbouring cells both give drawn once. A
// page of bordered cells otherwise becomes thousands of strokes that cairo and Ghostscript each
// handle one by one.
class BorderStrokes {
public:
    explicit BorderStrokes(const Workbook& workbook);
    void add(const CellFormat& format, const Box& box);
    // Groups are stroked in the order their first edge came in.
    void stroke(cairo_t* cr);

private:
    struct Segment {
        double x0, y0, x1, y1;
        auto operator<=>(const Segment&) const = default;
    };
    struct Group {
        BorderStyle style;
        Color color;
        std::vector<Segment> segments;
    };
    void addEdge(const Border& border, const Segment& edge);
    static void join(std::vector<Segment>& segments);

    const Workbook& workbook_;
    std::vector<Group> groups_;
};

// A conditional format's bar in the cell's box: from its left edge, a little in from the cell's
// edges, in its colour fading to white towards its end, as the spreadsheet program that brought
// these bars in drew them.
void paintDataBar(cairo_t* cr, const DataBar& bar, const Box& box);

}  // namespace kx::workbook
