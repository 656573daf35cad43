#include "workbook/charts/chart_painter.h"

#include <algorithm>
#include <cmath>

#include "workbook/charts/chart_drawing.h"
#include "workbook/charts/chart_places.h"
#include "workbook/format/number_format.h"

namespace kx::workbook {

using namespace chart;

namespace {

constexpr Color kWhite{255, 255, 255};

struct LegendEntry {
    std::string text;
    Color fill, line;
    std::optional<MarkerShape> marker;  // lines and scatter show their marker, others a swatch
    bool lineSample = false;
};

const std::vector<std::string>* pointNames(const Chart& chart)
{
    for (const ChartSeries& series : chart.series)
        if (!series.categories.empty())
            return &series.categories;
    return nullptr;
}

// A pie, or a chart of one series in varied colours, names its points; other charts their series.
std::vector<LegendEntry> legendEntries(const Workbook& workbook, const Chart& chart)
{
    std::vector<LegendEntry> entries;
    const ChartGroup& first = chart.groups.front();
    if (!chart.series.empty() && (first.kind == ChartKind::Pie || (first.variedColors && chart.series.size() == 1))) {
        const ChartSeries& series = chart.series.front();
        const std::vector<std::string>* names = pointNames(chart);
        for (size_t i = 0; i < series.values.size(); ++i) {
            const std::string text = names && i < names->size() ? (*names)[i] : std::to_string(i + 1);
            entries.push_back({text, pointFill(workbook, series, i), kBlack, std::nullopt, false});
        }
        return entries;
    }
    for (size_t i = 0; i < chart.series.size(); ++i) {
        const ChartSeries& series = chart.series[i];
        const ChartGroup& group = chart.groups[std::min<size_t>(series.group, chart.groups.size() - 1)];
        const std::string text = series.name.empty() ? "Series" + std::to_string(i + 1) : series.name;
        const bool drawsLines = group.kind == ChartKind::Line || group.kind == ChartKind::Radar ||
                                (group.kind == ChartKind::Scatter && !group.bubbles);
        if (drawsLines)
            entries.push_back({text, seriesLine(workbook, series, i), seriesLine(workbook, series, i),
                               seriesMarker(series, i), !series.format.noLine});
        else
            entries.push_back({text, seriesFill(workbook, series, i), kBlack, std::nullopt, false});
    }
    return entries;
}

void paintLegendKey(cairo_t* cr, const LegendEntry& entry, double x, double y)
{
    if (entry.lineSample) {
        setSourceColor(cr, entry.line);
        cairo_set_line_width(cr, 1.5);
        cairo_move_to(cr, x - kSwatch / 2, y);
        cairo_line_to(cr, x + kSwatch * 1.5, y);
        cairo_stroke(cr);
    }
    if (entry.marker) {
        paintMarker(cr, *entry.marker, x + kSwatch / 2, y, 5, entry.line, entry.fill);
        return;
    }
    cairo_rectangle(cr, x, y - kSwatch / 2, kSwatch, kSwatch);
    fillAndStroke(cr, {entry.fill, entry.line}, kLineWidth / 2);
}

// The legend at its side of the chart, or where it was put over the chart; returns the box
// that remains for the plot.
Box paintLegend(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart, const Box& box,
                const Box& whole)
{
    const std::vector<LegendEntry> entries = legendEntries(workbook, chart);
    if (entries.empty())
        return box;
    const double keyWidth = kSwatch * 2.5;
    double lineHeight = 0;
    std::vector<double> widths;
    for (const LegendEntry& entry : entries) {
        const Size size = texts.measure(entry.text, TextRole::Label);
        widths.push_back(size.width + keyWidth);
        lineHeight = std::max(lineHeight, size.height);
    }
    const LegendPlace place = placeLegend(chart, box, whole, widths, lineHeight);
    const Box& legend = place.legend;
    cairo_rectangle(cr, legend.x, legend.y, legend.width, legend.height);
    fillAndStroke(cr, {kWhite, kBlack}, kLineWidth);
    cairo_save(cr);
    cairo_rectangle(cr, legend.x, legend.y, legend.width, legend.height);
    cairo_clip(cr);
    double y = legend.y + kPadding;
    for (const std::vector<size_t>& row : place.rows) {
        double x = legend.x + kPadding;
        for (size_t i : row) {
            paintLegendKey(cr, entries[i], x, y + lineHeight / 2);
            texts.draw(entries[i].text, TextRole::Label, x + keyWidth, y);
            x += widths[i] + kPadding;
        }
        y += lineHeight;
    }
    cairo_restore(cr);
    return place.plot;
}

}  // namespace

void paintChart(cairo_t* cr, const Workbook& workbook, CellFonts& fonts, const Chart& chart, const Box& box)
{
    if (chart.groups.empty() || box.width <= 2 * kPadding || box.height <= 2 * kPadding)
        return;
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    fillAndStroke(cr, chart.area, kLineWidth);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_clip(cr);
    ChartTexts texts(cr, fonts, chart);
    Box inner{box.x + kPadding, box.y + kPadding, box.width - 2 * kPadding, box.height - 2 * kPadding};
    if (!chart.title.empty()) {
        const Size title = texts.measure(chart.title, TextRole::Title, inner.width);
        const TitlePlace place = chart.titleBox ? movedTitle(box, *chart.titleBox)
                                                : TitlePlace{inner.x, inner.y, inner.width};
        texts.draw(chart.title, TextRole::Title, place.x, place.y, place.wrapWidth);
        inner.y += title.height + kPadding;
        inner.height -= title.height + kPadding;
    }
    if (chart.legend)
        inner = paintLegend(cr, workbook, texts, chart, inner, box);
    if (chart.plotBox)
        inner = shareOf(box, *chart.plotBox);
    if (inner.width > 0 && inner.height > 0) {
        const ChartKind kind = chart.groups.front().kind;
        if (kind == ChartKind::Pie)
            paintPiePlot(cr, workbook, texts, chart, inner);
        else if (kind == ChartKind::Radar || kind == ChartKind::FilledRadar)
            paintRadarPlot(cr, workbook, texts, chart, inner);
        else
            paintAxesPlot(cr, workbook, texts, chart, inner, box);
    }
    cairo_restore(cr);
}

Box chartSheetBox(const Chart& chart, double width, double height)
{
    double chartWidth = width, chartHeight = height;
    if (chart.printSize != ChartPrintSize::FillPage && chart.width > 0 && chart.height > 0) {
        const double fit = std::min(width / chart.width, height / chart.height);
        const double scale = chart.printSize == ChartPrintSize::Stored ? std::min(1.0, fit) : fit;
        chartWidth = chart.width * scale;
        chartHeight = chart.height * scale;
    }
    if (chart.printSize == ChartPrintSize::Stored)
        return {0, 0, chartWidth, chartHeight};
    return {(width - chartWidth) / 2, (height - chartHeight) / 2, chartWidth, chartHeight};
}

}  // namespace kx::workbook
