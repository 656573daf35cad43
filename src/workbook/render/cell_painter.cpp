#include "workbook/render/cell_painter.h"

#include <algorithm>

#include "workbook/render/cell_text_painter.h"

namespace kx::workbook {
namespace {

constexpr double gridlineWidth = 0.25;

}  // namespace

CellPainter::CellPainter(cairo_t* cr, PangoLayout* layout, const Workbook& workbook, const Sheet& sheet,
                         const PageGrid& grid, const SheetMetrics& metrics, CellFonts& fonts, double digitWidth)
    : cr_(cr), layout_(layout), workbook_(workbook), sheet_(sheet), grid_(grid), fonts_(fonts), digitWidth_(digitWidth),
      places_(workbook, sheet, grid, metrics)
{
}

namespace {

constexpr double epsilon = 1e-6;

// Whether a hole hides the vertical gridline at x beside the given row.
bool hidesVertical(const std::vector<Box>& holes, double x, const GridTrack& row)
{
    return std::any_of(holes.begin(), holes.end(), [&](const Box& hole) {
        return hole.x + epsilon < x && x < hole.x + hole.width - epsilon && hole.y <= row.start + epsilon &&
               row.start + row.size <= hole.y + hole.height + epsilon;
    });
}

bool hidesHorizontal(const std::vector<Box>& holes, double y, const GridTrack& column)
{
    return std::any_of(holes.begin(), holes.end(), [&](const Box& hole) {
        return hole.y + epsilon < y && y < hole.y + hole.height - epsilon && hole.x <= column.start + epsilon &&
               column.start + column.size <= hole.x + hole.width + epsilon;
    });
}

// One gridline across the tracks, drawn as the runs of segments no hole hides.
template <typename Hidden, typename Line>
void addGridline(const std::vector<GridTrack>& across, Hidden hidden, Line line)
{
    bool inRun = false;
    double runStart = 0;
    for (const GridTrack& track : across) {
        if (hidden(track)) {
            if (inRun)
                line(runStart, track.start);
            inRun = false;
        } else if (!inRun) {
            inRun = true;
            runStart = track.start;
        }
    }
    if (inRun)
        line(runStart, across.back().start + across.back().size);
}

}  // namespace

// Gridlines stop inside merged ranges (both directions) and under text that spills over its
// neighbours (the lines between the cells it covers). Drawn as plain segments, not through a clip,
// which would turn into a large path on every page of the PostScript.
void CellPainter::paintGridlines(const std::vector<Box>& merged, const std::vector<Box>& spills)
{
    cairo_save(cr_);
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_set_line_width(cr_, gridlineWidth);
    std::vector<Box> holes = merged;
    holes.insert(holes.end(), spills.begin(), spills.end());
    for (const GridTrack& row : grid_.rows)
        addGridline(grid_.columns, [&](const GridTrack& column) { return hidesHorizontal(merged, row.start, column); },
                    [&](double from, double to) {
                        cairo_move_to(cr_, from, row.start);
                        cairo_line_to(cr_, to, row.start);
                    });
    for (const GridTrack& column : grid_.columns)
        addGridline(grid_.rows, [&](const GridTrack& row) { return hidesVertical(holes, column.start, row); },
                    [&](double from, double to) {
                        cairo_move_to(cr_, column.start, from);
                        cairo_line_to(cr_, column.start, to);
                    });
    cairo_rectangle(cr_, 0, 0, grid_.width, grid_.height);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

// Black-and-white printing leaves out fills and draws text and borders in black.
CellFormat CellPainter::printedFormat(uint16_t index) const
{
    CellFormat format = cellFormat(workbook_, index);
    if (sheet_.pageSetup.blackAndWhite) {
        format.fillPattern = 0;
        for (Border* border : {&format.left, &format.right, &format.top, &format.bottom})
            border->colorIndex = 0;
    }
    return format;
}

void CellPainter::paintDataBars()
{
    for (const PlacedCell& placed : places_.cells())
        if (placed.cell && !placed.offPage)
            if (const DataBar* bar = sheet_.dataBar(grid_.rows[placed.rowSlot].index, placed.cell->column))
                paintDataBar(cr_, *bar, placed.box);
}

void CellPainter::paint(bool gridlines)
{
    FillRuns fills(cr_, workbook_);
    for (const PlacedCell& placed : places_.cells())
        if (!placed.offPage)
            fills.add(printedFormat(placed.format), placed.box);
    fills.finish();
    if (!sheet_.dataBars.empty() && !sheet_.pageSetup.blackAndWhite)
        paintDataBars();
    CellTextPainter text(cr_, layout_, workbook_, fonts_, digitWidth_);
    std::vector<TextPlan> plans;
    std::vector<Box> spills;
    for (const PlacedCell& placed : places_.cells()) {
        if (!placed.cell)
            continue;
        const Box laidOut = places_.alignedBox(placed);
        auto plan = text.plan(*placed.cell, laidOut, [&](double width, HorizontalAlign align) {
            return places_.overflowBox(placed, width, align);
        });
        if (!plan)
            continue;
        // Text the page's edge cuts goes on over the next page, where it is shown in full.
        if (plan->clip.x + plan->clip.width < places_.pageRight() - 1e-6)
            text.trimToClip(*plan);
        if (const std::optional<Box> kept = places_.keptToPage(plan->clip, laidOut)) {
            plan->clip = *kept;
            plan->clipped = true;
        }
        if (plan->spills)
            spills.push_back(plan->clip);
        if (sheet_.pageSetup.blackAndWhite)
            plan->color = Color{0, 0, 0};
        plans.push_back(std::move(*plan));
    }
    if (gridlines)
        paintGridlines(places_.mergedBoxes(), spills);
    for (const TextPlan& plan : plans)
        text.paint(plan);
    BorderStrokes borders(workbook_);
    for (const PlacedCell& placed : places_.cells())
        if (!placed.offPage)
            borders.add(printedFormat(placed.format), placed.box);
    borders.stroke(cr_);
}

}  // namespace kx::workbook
