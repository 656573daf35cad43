// Charts with axes: a value axis against categories (columns, bars, lines, areas) or against
// a second value axis (scatter).
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "workbook/charts/chart_drawing.h"
#include "workbook/charts/chart_places.h"

namespace kx::workbook::chart {

namespace {

constexpr double kSeriesMargin = 6;  // room around the plot for markers and wide lines

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void add(double value)
    {
        low = std::min(low, value);
        high = std::max(high, value);
    }
};

// The values of a group's series as they are drawn: stacked ones on top of those before them,
// percent ones as shares of their category's total.
struct Stacks {
    std::vector<std::vector<std::optional<double>>> bottoms, tops;  // by series of the group, then point
};

Stacks stackGroup(const Chart& chart, const std::vector<size_t>& members, const ChartGroup& group, size_t points)
{
    Stacks stacks;
    std::vector<double> positive(points, 0), negative(points, 0), totals(points, 0);
    if (group.stacking == ChartStacking::Percent)
        for (size_t s : members)
            for (size_t i = 0; i < chart.series[s].values.size() && i < points; ++i)
                totals[i] += std::abs(chart.series[s].values[i].value_or(0));
    for (size_t s : members) {
        const auto& values = chart.series[s].values;
        std::vector<std::optional<double>> bottom(points), top(points);
        for (size_t i = 0; i < points; ++i) {
            if (i >= values.size() || !values[i])
                continue;
            double value = *values[i];
            if (group.stacking == ChartStacking::None) {
                bottom[i] = 0;
                top[i] = value;
                continue;
            }
            if (group.stacking == ChartStacking::Percent)
                value = totals[i] > 0 ? value / totals[i] : 0;
            double& base = value >= 0 ? positive[i] : negative[i];
            bottom[i] = base;
            base += value;
            top[i] = base;
        }
        stacks.bottoms.push_back(std::move(bottom));
        stacks.tops.push_back(std::move(top));
    }
    return stacks;
}

class AxesPlot {
public:
    AxesPlot(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart)
        : cr_(cr), workbook_(workbook), texts_(texts), chart_(chart)
    {
        horizontal_ = chart.groups.front().kind == ChartKind::Bar;
        scatter_ = chart.groups.front().kind == ChartKind::Scatter;
    }
    void paint(const Box& box, const Box& whole);

private:
    std::vector<size_t> membersOf(size_t group) const;
    void prepare();
    std::string valueText(double value, const ChartAxis& axis, bool secondary) const;
    void paintValueLabels(const std::vector<size_t>& members, const ChartGroup& group, const Stacks& stacks);
    void paintTickLabels(const Scale& scale, const ChartAxis& axis, bool secondary);
    void paintCategoryLabels();
    Box plotBox(const Box& box, const Box& whole);
    void drawAxisTitle(const std::string& title, const std::optional<TitlePlace>& place);
    double widestTick(const Scale& scale, const ChartAxis& axis, bool secondary);
    double categoryShare(double position) const;  // 0..1 along the category axis
    void point(double along, double value, double& x, double& y) const;
    void paintGridlines();
    void paintGroup(size_t group);
    void paintBars(const std::vector<size_t>& members, const ChartGroup& group, const Stacks& stacks);
    void paintLines(const std::vector<size_t>& members, const Stacks& stacks, bool area);
    void paintScatter(const std::vector<size_t>& members, const ChartGroup& group);
    void paintBubbles(const std::vector<size_t>& members, const ChartGroup& group);
    // The points of a scatter series where their values put them, with their indexes.
    std::vector<std::tuple<size_t, double, double>> scatterPoints(const ChartSeries& series) const;
    void paintAxes();
    std::vector<std::string> categoryLabels() const;

    cairo_t* cr_;
    const Workbook& workbook_;
    ChartTexts& texts_;
    const Chart& chart_;
    bool horizontal_ = false, scatter_ = false, percent_ = false;
    size_t points_ = 0;
    Scale values_, across_;  // across_: the horizontal axis of a scatter chart
    std::optional<Scale> secondary_;
    const Scale* scale_ = &values_;  // that of the group being drawn
    std::vector<Stacks> stacks_;
    Box plot_;
};

std::vector<size_t> AxesPlot::membersOf(size_t group) const
{
    std::vector<size_t> members;
    for (size_t s = 0; s < chart_.series.size(); ++s)
        if (chart_.series[s].group == group)
            members.push_back(s);
    return members;
}

void AxesPlot::prepare()
{
    for (const ChartSeries& series : chart_.series)
        points_ = std::max(points_, series.values.size());
    Range primary, secondary, across;
    for (size_t g = 0; g < chart_.groups.size(); ++g) {
        const ChartGroup& group = chart_.groups[g];
        const std::vector<size_t> members = membersOf(g);
        stacks_.push_back(stackGroup(chart_, members, group, points_));
        Range& values = group.secondary ? secondary : primary;
        if (!group.secondary)
            percent_ = percent_ || group.stacking == ChartStacking::Percent;
        for (const auto& tops : stacks_.back().tops)
            for (const auto& top : tops)
                if (top)
                    values.add(*top);
        for (const auto& bottoms : stacks_.back().bottoms)
            for (const auto& bottom : bottoms)
                if (bottom && group.stacking != ChartStacking::None)
                    values.add(*bottom);
        for (size_t s : members)
            for (size_t i = 0; i < chart_.series[s].values.size(); ++i)
                if (chart_.series[s].values[i])
                    across.add(i < chart_.series[s].xValues.size() && chart_.series[s].xValues[i]
                                   ? *chart_.series[s].xValues[i]
                                   : static_cast<double>(i + 1));
    }
    values_ = valueScale(primary.low, primary.high, chart_.valueAxis);
    across_ = valueScale(across.low, across.high, chart_.categoryAxis);
    if (secondary.low <= secondary.high)
        secondary_ = valueScale(secondary.low, secondary.high, chart_.secondaryValueAxis);
}

// Without a format of its own an axis shows its numbers as the cells of its first series do.
std::string AxesPlot::valueText(double value, const ChartAxis& axis, bool secondary) const
{
    uint16_t format = 0;
    for (const ChartSeries& series : chart_.series)
        if (chart_.groups[series.group].secondary == secondary) {
            format = series.valueFormat;
            break;
        }
    if (percent_ && !secondary && &axis == &chart_.valueAxis)
        return axisNumber(workbook_, value, "0%");
    return axisNumber(workbook_, value, workbook_.numberFormatCode(axis.numberFormat.value_or(format)));
}

std::vector<std::string> AxesPlot::categoryLabels() const
{
    return chart::categoryLabels(chart_, points_);
}

// Room for the labels and titles of both axes around the plot.
double AxesPlot::widestTick(const Scale& scale, const ChartAxis& axis, bool secondary)
{
    double widest = 0;
    if (axis.labels)
        for (double tick : scale.ticks())
            widest = std::max(widest, texts_.measure(valueText(tick, axis, secondary), TextRole::Label).width);
    return widest;
}

Box AxesPlot::plotBox(const Box& box, const Box& whole)
{
    const ChartAxis& beside = horizontal_ ? chart_.categoryAxis : chart_.valueAxis;
    AxesTexts measured{.horizontal = horizontal_,
                       .lineHeight = texts_.measure("0", TextRole::Label).height,
                       .titleHeight = texts_.measure("0", TextRole::AxisTitle).height,
                       .widestValue = widestTick(values_, chart_.valueAxis, false),
                       .points = points_};
    if (horizontal_ && beside.labels)
        for (const std::string& label : categoryLabels())
            measured.widestCategory = std::max(measured.widestCategory, texts_.measure(label, TextRole::Label).width);
    if (secondary_) {
        const ChartAxis& secondary = chart_.secondaryValueAxis;
        measured.widestSecondary = secondary.labels ? widestTick(*secondary_, secondary, true) : 0;
        if (secondary.titleAcross)
            measured.secondaryTitleWidth = texts_.measure(secondary.title, TextRole::AxisTitle).width;
    }
    if (!horizontal_ && !scatter_)
        measured.tallestCategory = [&](double wrapWidth) {
            double tallest = 0;
            for (const std::string& label : categoryLabels())
                tallest = std::max(tallest, texts_.measure(label, TextRole::Label, wrapWidth).height);
            return tallest;
        };
    const Box around = chart_.plotBox && chart_.plotBoxInner ? aroundPlot(chart_, box, measured) : box;
    const AxesPlace place = placeAxes(chart_, around, whole, measured);
    drawAxisTitle(beside.title, place.besideTitle);
    drawAxisTitle(chart_.secondaryValueAxis.title, place.secondaryTitle);
    drawAxisTitle((horizontal_ ? chart_.valueAxis : chart_.categoryAxis).title, place.underTitle);
    return place.plot;
}

void AxesPlot::drawAxisTitle(const std::string& title, const std::optional<TitlePlace>& place)
{
    if (!place)
        return;
    if (place->upright)
        texts_.drawUpright(title, TextRole::AxisTitle, place->x, place->y);
    else
        texts_.draw(title, TextRole::AxisTitle, place->x, place->y, place->wrapWidth);
}

double AxesPlot::categoryShare(double position) const
{
    if (chart_.categoryAxis.betweenCategories || points_ < 2)
        return points_ == 0 ? 0 : (position + 0.5) / static_cast<double>(points_);
    return position / static_cast<double>(points_ - 1);
}

void AxesPlot::point(double along, double value, double& x, double& y) const
{
    const double v = std::clamp(scale_->share(value), -0.05, 1.05);
    if (horizontal_) {
        x = plot_.x + v * plot_.width;
        y = plot_.y + plot_.height - along * plot_.height;
    } else {
        x = plot_.x + along * plot_.width;
        y = plot_.y + plot_.height - v * plot_.height;
    }
}

void AxesPlot::paintGridlines()
{
    if (!chart_.valueAxis.majorGridlines)
        return;
    setSourceColor(cr_, kBlack);
    cairo_set_line_width(cr_, kLineWidth / 2);
    for (double tick : values_.ticks()) {
        const double share = values_.share(tick);
        if (horizontal_) {
            cairo_move_to(cr_, plot_.x + share * plot_.width, plot_.y);
            cairo_rel_line_to(cr_, 0, plot_.height);
        } else {
            cairo_move_to(cr_, plot_.x, plot_.y + plot_.height - share * plot_.height);
            cairo_rel_line_to(cr_, plot_.width, 0);
        }
    }
    cairo_stroke(cr_);
}

void AxesPlot::paintBars(const std::vector<size_t>& members, const ChartGroup& group, const Stacks& stacks)
{
    if (members.empty() || points_ == 0)
        return;
    const double categorySize = 1.0 / static_cast<double>(points_);
    const double overlap = group.stacking == ChartStacking::None ? std::clamp(group.overlap / 100.0, -1.0, 1.0) : 1.0;
    const double gap = std::clamp(group.gap / 100.0, 0.0, 5.0);
    const double slots = group.stacking == ChartStacking::None ? static_cast<double>(members.size()) : 1.0;
    const double bar = categorySize / (slots - (slots - 1) * overlap + gap);
    const double start = bar * gap / 2;
    for (size_t m = 0; m < members.size(); ++m) {
        const ChartSeries& series = chart_.series[members[m]];
        const double offset = group.stacking == ChartStacking::None ? static_cast<double>(m) * bar * (1 - overlap) : 0;
        for (size_t i = 0; i < points_; ++i) {
            if (!stacks.tops[m][i])
                continue;
            const double along = static_cast<double>(i) * categorySize + start + offset;
            double x0, y0, x1, y1;
            point(along, *stacks.bottoms[m][i] == 0 ? std::max(values_.minimum, std::min(0.0, values_.maximum)) : *stacks.bottoms[m][i], x0, y0);
            point(along + bar, *stacks.tops[m][i], x1, y1);
            const Color fill = group.variedColors && chart_.series.size() == 1 ? pointFill(workbook_, series, i)
                                                                                : seriesFill(workbook_, series, members[m]);
            cairo_rectangle(cr_, std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0));
            fillAndStroke(cr_, {series.format.noFill ? std::nullopt : std::optional<Color>(fill),
                                series.format.noLine ? std::nullopt : std::optional<Color>(series.format.line.value_or(kBlack))},
                          kLineWidth / 2);
        }
    }
}

void AxesPlot::paintLines(const std::vector<size_t>& members, const Stacks& stacks, bool area)
{
    // Areas are drawn last series first so that the first lies in front, as the program stacks them.
    for (size_t k = 0; k < members.size(); ++k) {
        const size_t m = area ? members.size() - 1 - k : k;
        const ChartSeries& series = chart_.series[members[m]];
        std::vector<std::pair<double, double>> line, base;
        cairo_new_path(cr_);
        for (size_t i = 0; i < points_; ++i) {
            const auto& top = stacks.tops[m][i];
            if (!top && !area) {
                line.clear();
                continue;
            }
            double x, y;
            point(categoryShare(static_cast<double>(i)), top.value_or(0), x, y);
            line.emplace_back(x, y);
            if (area) {
                point(categoryShare(static_cast<double>(i)), stacks.bottoms[m][i].value_or(0), x, y);
                base.emplace_back(x, y);
            }
            if (line.size() == 1)
                cairo_move_to(cr_, line.back().first, line.back().second);
            else
                cairo_line_to(cr_, line.back().first, line.back().second);
        }
        if (area) {
            for (auto it = base.rbegin(); it != base.rend(); ++it)
                cairo_line_to(cr_, it->first, it->second);
            cairo_close_path(cr_);
            fillAndStroke(cr_, {seriesFill(workbook_, series, members[m]), series.format.line.value_or(kBlack)}, kLineWidth / 2);
            continue;
        }
        const Color color = seriesLine(workbook_, series, members[m]);
        if (!series.format.noLine) {
            setSourceColor(cr_, color);
            cairo_set_line_width(cr_, series.format.lineWidth);
            cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr_);
        }
        cairo_new_path(cr_);
        const MarkerShape marker = seriesMarker(series, members[m]);
        for (size_t i = 0; i < points_; ++i)
            if (const auto& top = stacks.tops[m][i]) {
                double x, y;
                point(categoryShare(static_cast<double>(i)), *top, x, y);
                paintMarker(cr_, marker, x, y, series.format.markerSize, series.format.markerLine.value_or(color),
                            series.format.markerFill.value_or(color));
            }
    }
}

std::vector<std::tuple<size_t, double, double>> AxesPlot::scatterPoints(const ChartSeries& series) const
{
    std::vector<std::tuple<size_t, double, double>> points;
    for (size_t i = 0; i < series.values.size(); ++i) {
        if (!series.values[i])
            continue;
        const double xValue = i < series.xValues.size() && series.xValues[i] ? *series.xValues[i] : static_cast<double>(i + 1);
        double x, y;
        point(0, *series.values[i], x, y);
        x = plot_.x + std::clamp(across_.share(xValue), -0.05, 1.05) * plot_.width;
        points.emplace_back(i, x, y);
    }
    return points;
}

// Circles whose areas (or widths) keep the proportions of the sizes; the largest is about a
// quarter of the plot's smaller side across at the default scale. Sizes of 0 or less show nothing.
void AxesPlot::paintBubbles(const std::vector<size_t>& members, const ChartGroup& group)
{
    double largest = 0;
    for (size_t s : members)
        for (const auto& size : chart_.series[s].bubbleSizes)
            if (size && std::isfinite(*size))
                largest = std::max(largest, *size);
    if (largest <= 0)
        return;
    const double largestRadius = std::min(plot_.width, plot_.height) / 8 * group.bubbleScale / 100;
    for (size_t s : members) {
        const ChartSeries& series = chart_.series[s];
        for (const auto& [i, x, y] : scatterPoints(series)) {
            const std::optional<double> size = i < series.bubbleSizes.size() ? series.bubbleSizes[i] : std::nullopt;
            if (!size || !(*size > 0))
                continue;
            const double share = std::min(*size / largest, 1.0);
            cairo_new_sub_path(cr_);
            cairo_arc(cr_, x, y, largestRadius * (group.bubbleSizeIsWidth ? share : std::sqrt(share)), 0, 2 * M_PI);
            fillAndStroke(cr_, {seriesFill(workbook_, series, s), series.format.line.value_or(kBlack)}, kLineWidth / 2);
        }
    }
}

void AxesPlot::paintScatter(const std::vector<size_t>& members, const ChartGroup& group)
{
    if (group.bubbles) {
        paintBubbles(members, group);
        return;
    }
    for (size_t s : members) {
        const ChartSeries& series = chart_.series[s];
        const Color color = seriesLine(workbook_, series, s);
        std::vector<std::pair<double, double>> points;
        for (const auto& [i, x, y] : scatterPoints(series))
            points.emplace_back(x, y);
        if (!series.format.noLine && points.size() > 1) {
            cairo_move_to(cr_, points.front().first, points.front().second);
            for (const auto& [x, y] : points)
                cairo_line_to(cr_, x, y);
            setSourceColor(cr_, color);
            cairo_set_line_width(cr_, series.format.lineWidth);
            cairo_stroke(cr_);
        }
        const MarkerShape marker = seriesMarker(series, s);
        for (const auto& [x, y] : points)
            paintMarker(cr_, marker, x, y, series.format.markerSize, series.format.markerLine.value_or(color),
                        series.format.markerFill.value_or(color));
    }
}

void AxesPlot::paintGroup(size_t group)
{
    const std::vector<size_t> members = membersOf(group);
    const ChartGroup& kind = chart_.groups[group];
    scale_ = kind.secondary && secondary_ ? &*secondary_ : &values_;
    switch (kind.kind) {
    case ChartKind::Column:
    case ChartKind::Bar: paintBars(members, kind, stacks_[group]); break;
    case ChartKind::Line: paintLines(members, stacks_[group], false); break;
    case ChartKind::Area: paintLines(members, stacks_[group], true); break;
    case ChartKind::Scatter: paintScatter(members, kind); break;
    case ChartKind::Pie:
    case ChartKind::Radar:
    case ChartKind::FilledRadar: break;  // drawn without these axes
    }
    paintValueLabels(members, kind, stacks_[group]);
    scale_ = &values_;
}

// The value of each point over the point: above a column or a line's point, past a bar's end.
void AxesPlot::paintValueLabels(const std::vector<size_t>& members, const ChartGroup& group, const Stacks& stacks)
{
    if (group.kind == ChartKind::Scatter)
        return;
    const bool bars = group.kind == ChartKind::Column || group.kind == ChartKind::Bar;
    const double categorySize = points_ ? 1.0 / static_cast<double>(points_) : 0;
    const double slots = bars && group.stacking == ChartStacking::None ? static_cast<double>(members.size()) : 1.0;
    for (size_t m = 0; m < members.size(); ++m) {
        const ChartSeries& series = chart_.series[members[m]];
        if (!series.format.valueLabels)
            continue;
        for (size_t i = 0; i < points_ && i < series.values.size(); ++i) {
            if (!series.values[i] || !stacks.tops[m][i])
                continue;
            // A point shows its value as its own cell does.
            const std::string text = axisNumber(workbook_, *series.values[i], workbook_.numberFormatCode(series.valueFormat));
            const Size size = texts_.measure(text, TextRole::Label);
            // Bars of a cluster share their category in equal slots.
            const double along = bars ? (static_cast<double>(i) + (static_cast<double>(m % static_cast<size_t>(slots)) + 0.5) / slots) * categorySize
                                      : categoryShare(static_cast<double>(i));
            double x, y;
            point(along, *stacks.tops[m][i], x, y);
            if (horizontal_)
                texts_.draw(text, TextRole::Label, x + kGap, y - size.height / 2);
            else
                texts_.draw(text, TextRole::Label, x - size.width / 2, y - size.height - kGap);
        }
    }
}

void AxesPlot::paintAxes()
{
    setSourceColor(cr_, kBlack);
    cairo_set_line_width(cr_, kLineWidth);
    // The category axis crosses the value axis at zero; the value axes stand at the plot's edges.
    if (chart_.categoryAxis.line) {
        double x0, y0, x1, y1;
        const double zero = std::clamp(0.0, values_.minimum, values_.maximum);
        point(0, zero, x0, y0);
        point(1, zero, x1, y1);
        if (scatter_)
            y0 = y1 = plot_.y + plot_.height;
        cairo_move_to(cr_, horizontal_ ? plot_.x : x0, y0);
        cairo_line_to(cr_, horizontal_ ? plot_.x : x1, horizontal_ ? plot_.y : y1);
    }
    if (chart_.valueAxis.line) {
        cairo_move_to(cr_, plot_.x, plot_.y + plot_.height);
        cairo_line_to(cr_, horizontal_ ? plot_.x + plot_.width : plot_.x, horizontal_ ? plot_.y + plot_.height : plot_.y);
    }
    if (secondary_ && chart_.secondaryValueAxis.line) {
        cairo_move_to(cr_, plot_.x + plot_.width, plot_.y);
        cairo_rel_line_to(cr_, 0, plot_.height);
    }
    cairo_stroke(cr_);
    if (chart_.valueAxis.labels)
        paintTickLabels(values_, chart_.valueAxis, false);
    if (secondary_ && chart_.secondaryValueAxis.labels)
        paintTickLabels(*secondary_, chart_.secondaryValueAxis, true);
    if (chart_.categoryAxis.labels)
        paintCategoryLabels();
}

void AxesPlot::paintTickLabels(const Scale& scale, const ChartAxis& axis, bool secondary)
{
    for (double tick : scale.ticks()) {
        const std::string text = valueText(tick, axis, secondary);
        const Size size = texts_.measure(text, TextRole::Label);
        const double share = scale.share(tick);
        if (secondary)
            texts_.draw(text, TextRole::Label, plot_.x + plot_.width + kTick + kGap,
                        plot_.y + plot_.height * (1 - share) - size.height / 2);
        else if (horizontal_)
            texts_.draw(text, TextRole::Label, plot_.x + share * plot_.width - size.width / 2,
                        plot_.y + plot_.height + kTick + kGap);
        else
            texts_.draw(text, TextRole::Label, plot_.x - kTick - kGap - size.width,
                        plot_.y + plot_.height * (1 - share) - size.height / 2);
    }
}

void AxesPlot::paintCategoryLabels()
{
    if (scatter_) {
        for (double tick : across_.ticks()) {
            const std::string text = valueText(tick, chart_.categoryAxis, false);
            const double x = plot_.x + across_.share(tick) * plot_.width;
            texts_.draw(text, TextRole::Label, x - texts_.measure(text, TextRole::Label).width / 2,
                        plot_.y + plot_.height + kTick + kGap);
        }
        return;
    }
    const std::vector<std::string> labels = categoryLabels();
    if (labels.empty())
        return;
    const double lineHeight = texts_.measure("0", TextRole::Label).height;
    const double room = (horizontal_ ? plot_.height : plot_.width) / static_cast<double>(labels.size());
    // Labels wider than their category wrap onto more lines; where even that does not help
    // they are thinned out to every second, third ... one.
    const double usable = room * 0.95;
    double widest = 0;
    for (const std::string& label : labels)
        widest = std::max(widest, horizontal_ ? lineHeight : texts_.measure(label, TextRole::Label, usable).width);
    const size_t every = usable > 0 ? static_cast<size_t>(std::max<double>(chart_.categoryAxis.labelInterval,
                                                                            std::ceil(widest / usable - 0.01)))
                                    : labels.size();
    const double wrap = horizontal_ ? -1 : usable * static_cast<double>(every);
    for (size_t i = 0; i < labels.size(); i += every) {
        const Size size = texts_.measure(labels[i], TextRole::Label, wrap);
        double x, y;
        point(categoryShare(static_cast<double>(i)), values_.minimum, x, y);
        if (horizontal_)
            texts_.draw(labels[i], TextRole::Label, plot_.x - kTick - kGap - size.width, y - size.height / 2);
        else
            texts_.draw(labels[i], TextRole::Label, x - wrap / 2, plot_.y + plot_.height + kTick + kGap, wrap);
    }
}

void AxesPlot::paint(const Box& box, const Box& whole)
{
    prepare();
    plot_ = plotBox(box, whole);
    if (plot_.width <= 0 || plot_.height <= 0)
        return;
    cairo_rectangle(cr_, plot_.x, plot_.y, plot_.width, plot_.height);
    fillAndStroke(cr_, chart_.plotArea, kLineWidth);
    paintGridlines();
    cairo_save(cr_);
    cairo_rectangle(cr_, plot_.x - kSeriesMargin, plot_.y - kSeriesMargin, plot_.width + 2 * kSeriesMargin,
                    plot_.height + 2 * kSeriesMargin);
    cairo_clip(cr_);
    for (size_t g = 0; g < chart_.groups.size(); ++g)
        paintGroup(g);
    cairo_restore(cr_);
    paintAxes();
}

}  // namespace

void paintAxesPlot(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart, const Box& box,
                   const Box& whole)
{
    AxesPlot(cr, workbook, texts, chart).paint(box, whole);
}

}  // namespace kx::workbook::chart
