// Pie charts: slices clockwise from the first slice's angle, and pies whose smaller slices a
// second pie or a stacked bar beside them shows apart.
#include <algorithm>
#include <cmath>

#include "workbook/charts/chart_drawing.h"
#include "workbook/format/number_format.h"

namespace kx::workbook::chart {

namespace {

constexpr double kPadding = 6;

double positiveTotal(const ChartSeries& series, const std::vector<bool>* only = nullptr)
{
    double total = 0;
    for (size_t i = 0; i < series.values.size(); ++i)
        if (series.values[i] && *series.values[i] > 0 && (!only || (*only)[i]))
            total += *series.values[i];
    return total;
}

// How much of the box the pie's diameter takes: all of a plot area the file placed, which holds
// the pie alone, its labels outside; less when the labels must fit in the box beside the pie.
double pieFill(const Chart& chart, const ChartSeries& series)
{
    if (chart.plotBox)
        return 1;
    return series.format.valueLabels || series.format.percentLabels || series.format.categoryLabels ? 0.75 : 0.9;
}

// The category, value or share of a slice beside it, outside the pie, one to a line.
void paintSliceLabel(ChartTexts& texts, const Workbook& workbook, const ChartSeries& series, size_t point, double share,
                     double angle, double cx, double cy, double radius)
{
    const double value = *series.values[point];
    std::string text;
    if (series.format.categoryLabels && point < series.categories.size())
        text = series.categories[point];
    if (series.format.valueLabels)
        text += (text.empty() ? "" : "\n") +
                formatNumber(value, workbook.numberFormatCode(series.valueFormat), workbook.dateSystem1904).text;
    if (series.format.percentLabels)
        text += (text.empty() ? "" : "\n") + formatNumber(share, "0%", false).text;
    if (text.empty())
        return;
    const Size size = texts.measure(text, TextRole::Label);
    const double x = cx + std::cos(angle) * (radius + kPadding), y = cy + std::sin(angle) * (radius + kPadding);
    texts.draw(text, TextRole::Label, std::cos(angle) >= 0 ? x : x - size.width, y - size.height / 2);
}

struct Circle {
    double cx = 0, cy = 0, radius = 0;
};

// The slices of the points `shown` picks, clockwise from `angle` (radians from three o'clock),
// `whole` making up the circle; their labels give their shares of the whole series.
void paintSlices(cairo_t* cr, ChartTexts& texts, const Workbook& workbook, const ChartSeries& series,
                 const std::vector<bool>& shown, double whole, const Circle& pie, double angle)
{
    const double total = positiveTotal(series);
    for (size_t i = 0; i < series.values.size(); ++i) {
        const auto& value = series.values[i];
        if (!shown[i] || !value || *value <= 0)
            continue;
        const double sweep = *value / whole * 2 * M_PI;
        cairo_move_to(cr, pie.cx, pie.cy);
        cairo_arc(cr, pie.cx, pie.cy, pie.radius, angle, angle + sweep);
        cairo_close_path(cr);
        fillAndStroke(cr, {pointFill(workbook, series, i), kBlack}, kLineWidth);
        paintSliceLabel(texts, workbook, series, i, *value / total, angle + sweep / 2, pie.cx, pie.cy, pie.radius);
        angle += sweep;
    }
}

std::vector<bool> inSecondPlot(const ChartSeries& series, const SecondPlot& plot)
{
    const size_t count = series.values.size();
    const double total = positiveTotal(series);
    std::vector<bool> second(count, false);
    for (size_t i = 0; i < count; ++i) {
        const double value = series.values[i].value_or(0);
        switch (plot.split) {
        case SecondPlot::Split::Position: second[i] = i + plot.lastPoints >= count; break;
        case SecondPlot::Split::Value: second[i] = value < plot.belowValue; break;
        case SecondPlot::Split::Percent: second[i] = total > 0 && value / total * 100 < plot.belowPercent; break;
        }
    }
    return second;
}

// The pie on the left with the total of the other points as one slice facing right, where the
// second pie or bar shows them, joined to that slice by two lines.
void paintSplitPie(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const ChartSeries& series,
                   const SecondPlot& plot, const Box& box, double fill)
{
    const std::vector<bool> second = inSecondPlot(series, plot);
    std::vector<bool> first(second.size());
    std::transform(second.begin(), second.end(), first.begin(), [](bool b) { return !b; });
    const double total = positiveTotal(series), apart = positiveTotal(series, &second);
    const double size = plot.sizePercent / 100.0, gap = plot.gapPercent / 100.0;
    const bool bar = plot.kind == SecondPlot::Kind::Bar;
    // Widths in pie radii: the pie, the gap and the second plot (a bar is a third of its height wide).
    const double across = 2 + gap + (bar ? 2 * size / 3 : 2 * size);
    const Circle pie{0, box.y + box.height / 2, std::min(box.height / 2, box.width / across) * fill};
    if (!std::isfinite(total) || total <= 0 || pie.radius <= 0)
        return;
    const double left = box.x + (box.width - across * pie.radius) / 2;
    Circle main = pie;
    main.cx = left + pie.radius;
    const double otherSweep = apart / total * 2 * M_PI;
    // The pie's own slices leave the room of the other slice, which faces the second plot.
    paintSlices(cr, texts, workbook, series, first, total, main, otherSweep / 2);
    if (apart <= 0)
        return;
    cairo_move_to(cr, main.cx, main.cy);
    cairo_arc(cr, main.cx, main.cy, main.radius, -otherSweep / 2, otherSweep / 2);
    cairo_close_path(cr);
    fillAndStroke(cr, {pointFill(workbook, series, series.values.size()), kBlack}, kLineWidth);

    const double secondLeft = main.cx + main.radius * (1 + gap), height = 2 * main.radius * size;
    const double top = main.cy - height / 2;
    double joinX = secondLeft;
    if (bar) {
        // Stacked from the bottom in the order of the points.
        const double width = height / 3;
        double y = top + height;
        for (size_t i = 0; i < series.values.size(); ++i) {
            if (!second[i] || !series.values[i] || *series.values[i] <= 0)
                continue;
            const double part = *series.values[i] / apart * height;
            cairo_rectangle(cr, secondLeft, y - part, width, part);
            fillAndStroke(cr, {pointFill(workbook, series, i), kBlack}, kLineWidth);
            y -= part;
        }
    } else {
        const Circle small{secondLeft + height / 2, main.cy, height / 2};
        paintSlices(cr, texts, workbook, series, second, apart, small, M_PI);
        joinX = small.cx;
    }
    // From the slice's edges, or from the top and bottom of the pie where the slice reaches past them.
    const double join = std::min(otherSweep / 2, M_PI / 2);
    setSourceColor(cr, kBlack);
    cairo_set_line_width(cr, kLineWidth / 2);
    cairo_move_to(cr, main.cx + std::cos(join) * main.radius, main.cy - std::sin(join) * main.radius);
    cairo_line_to(cr, joinX, top);
    cairo_move_to(cr, main.cx + std::cos(join) * main.radius, main.cy + std::sin(join) * main.radius);
    cairo_line_to(cr, joinX, top + height);
    cairo_stroke(cr);
}

}  // namespace

void paintPiePlot(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart, const Box& box)
{
    if (chart.series.empty())
        return;
    const ChartSeries& series = chart.series.front();
    const ChartGroup& group = chart.groups.front();
    if (group.secondPlot) {
        paintSplitPie(cr, workbook, texts, series, *group.secondPlot, box, pieFill(chart, series));
        return;
    }
    const double total = positiveTotal(series);
    const double radius = std::min(box.width, box.height) / 2 * pieFill(chart, series);
    if (!std::isfinite(total) || total <= 0 || radius <= 0)
        return;
    const Circle pie{box.x + box.width / 2, box.y + box.height / 2, radius};
    paintSlices(cr, texts, workbook, series, std::vector<bool>(series.values.size(), true), total, pie,
                (group.firstSliceAngle - 90.0) * M_PI / 180);
}

}  // namespace kx::workbook::chart
