// Radar charts: the categories as spokes from the centre, the value axis up the first spoke
// with its gridlines as rings joining the spokes, and each series as a closed line or a filled
// shape through its values.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "workbook/charts/chart_drawing.h"

namespace kx::workbook::chart {

namespace {

constexpr double kGap = 3;
constexpr double kTick = 3;

class RadarPlot {
public:
    RadarPlot(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart)
        : cr_(cr), workbook_(workbook), texts_(texts), chart_(chart)
    {
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (const ChartSeries& series : chart.series) {
            spokes_ = std::max(spokes_, series.values.size());
            for (const auto& value : series.values)
                if (value) {
                    low = std::min(low, *value);
                    high = std::max(high, *value);
                }
        }
        scale_ = valueScale(low, high, chart.valueAxis);
        labels_ = categoryLabels(chart, spokes_);
    }

    void paint(const Box& box)
    {
        if (spokes_ == 0 || !place(box))
            return;
        cairo_save(cr_);
        paintWeb();
        for (size_t s = 0; s < chart_.series.size(); ++s)
            paintSeries(s);
        paintValueAxis();
        cairo_restore(cr_);
        paintCategoryLabels();
    }

private:
    // Spokes turn clockwise from twelve o'clock.
    double angle(size_t spoke) const
    {
        return -M_PI / 2 + 2 * M_PI * static_cast<double>(spoke) / static_cast<double>(spokes_);
    }
    void at(size_t spoke, double value, double& x, double& y) const
    {
        const double share = std::clamp(scale_.share(value), 0.0, 1.05);
        x = cx_ + std::cos(angle(spoke)) * radius_ * share;
        y = cy_ + std::sin(angle(spoke)) * radius_ * share;
    }

    std::string valueText(double value) const
    {
        const uint16_t format = chart_.valueAxis.numberFormat.value_or(
            chart_.series.empty() ? uint16_t{0} : chart_.series.front().valueFormat);
        return axisNumber(workbook_, value, workbook_.numberFormatCode(format));
    }

    // The largest circle that leaves room for the category labels around it and the value
    // labels beside the first spoke.
    bool place(const Box& box)
    {
        double widest = 0, tallest = 0;
        if (chart_.categoryAxis.labels)
            for (const std::string& label : labels_) {
                const Size size = texts_.measure(label, TextRole::Label);
                widest = std::max(widest, std::min(size.width, box.width / 4));
                tallest = std::max(tallest, size.height);
            }
        radius_ = std::min(box.width / 2 - widest - kGap, box.height / 2 - tallest - kGap);
        cx_ = box.x + box.width / 2;
        cy_ = box.y + box.height / 2;
        return radius_ > 0;
    }

    void ring(double value)
    {
        for (size_t spoke = 0; spoke < spokes_; ++spoke) {
            double x, y;
            at(spoke, value, x, y);
            if (spoke == 0)
                cairo_move_to(cr_, x, y);
            else
                cairo_line_to(cr_, x, y);
        }
        cairo_close_path(cr_);
    }

    void paintWeb()
    {
        setSourceColor(cr_, kBlack);
        cairo_set_line_width(cr_, kLineWidth / 2);
        if (chart_.valueAxis.majorGridlines)
            for (const double tick : scale_.ticks())
                if (tick > scale_.minimum)
                    ring(tick);
        cairo_stroke(cr_);
        if (!chart_.categoryAxis.line)
            return;
        cairo_set_line_width(cr_, kLineWidth);
        for (size_t spoke = 0; spoke < spokes_; ++spoke) {
            double x, y;
            at(spoke, scale_.maximum, x, y);
            cairo_move_to(cr_, cx_, cy_);
            cairo_line_to(cr_, x, y);
        }
        cairo_stroke(cr_);
    }

    std::optional<double> value(const ChartSeries& series, size_t spoke) const
    {
        return spoke < series.values.size() ? series.values[spoke] : std::nullopt;
    }

    // The shape through the values present, for filling.
    void outline(const ChartSeries& series)
    {
        for (size_t spoke = 0; spoke < spokes_; ++spoke)
            if (const auto v = value(series, spoke)) {
                double x, y;
                at(spoke, *v, x, y);
                cairo_line_to(cr_, x, y);
            }
        cairo_close_path(cr_);
    }

    // The line between neighbouring spokes that both have a value, the last back to the first:
    // an empty cell leaves a gap.
    void lines(const ChartSeries& series)
    {
        for (size_t spoke = 0; spoke < spokes_; ++spoke) {
            const auto from = value(series, spoke), to = value(series, (spoke + 1) % spokes_);
            if (!from || !to || spokes_ < 2)
                continue;
            double x, y;
            at(spoke, *from, x, y);
            cairo_move_to(cr_, x, y);
            at((spoke + 1) % spokes_, *to, x, y);
            cairo_line_to(cr_, x, y);
        }
    }

    void paintSeries(size_t index)
    {
        const ChartSeries& series = chart_.series[index];
        const ChartKind kind = chart_.groups[std::min<size_t>(series.group, chart_.groups.size() - 1)].kind;
        if (kind == ChartKind::FilledRadar) {
            outline(series);
            fillAndStroke(cr_, {seriesFill(workbook_, series, index), series.format.line.value_or(kBlack)}, kLineWidth / 2);
            return;
        }
        const Color color = seriesLine(workbook_, series, index);
        if (!series.format.noLine) {
            lines(series);
            setSourceColor(cr_, color);
            cairo_set_line_width(cr_, series.format.lineWidth);
            cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr_);
        }
        const MarkerShape marker = seriesMarker(series, index);
        for (size_t spoke = 0; spoke < spokes_; ++spoke)
            if (const auto v = value(series, spoke)) {
                double x, y;
                at(spoke, *v, x, y);
                paintMarker(cr_, marker, x, y, series.format.markerSize, series.format.markerLine.value_or(color),
                            series.format.markerFill.value_or(color));
            }
    }

    // Up the first spoke, with a tick and its number left of it at every step.
    void paintValueAxis()
    {
        const ChartAxis& axis = chart_.valueAxis;
        setSourceColor(cr_, kBlack);
        cairo_set_line_width(cr_, kLineWidth);
        for (const double tick : scale_.ticks()) {
            double x, y;
            at(0, tick, x, y);
            if (axis.line) {
                cairo_move_to(cr_, x - kTick, y);
                cairo_line_to(cr_, x, y);
            }
            if (axis.labels) {
                const std::string text = valueText(tick);
                const Size size = texts_.measure(text, TextRole::Label);
                texts_.draw(text, TextRole::Label, x - kTick - kGap / 2 - size.width, y - size.height / 2);
            }
        }
        if (axis.line) {
            double x, y;
            at(0, scale_.maximum, x, y);
            cairo_move_to(cr_, cx_, cy_);
            cairo_line_to(cr_, x, y);
        }
        cairo_stroke(cr_);
    }

    // Each name just beyond the end of its spoke, on the side the spoke points to.
    void paintCategoryLabels()
    {
        if (!chart_.categoryAxis.labels)
            return;
        for (size_t spoke = 0; spoke < spokes_; ++spoke) {
            const Size size = texts_.measure(labels_[spoke], TextRole::Label);
            const double dx = std::cos(angle(spoke)), dy = std::sin(angle(spoke));
            const double x = cx_ + dx * (radius_ + kGap), y = cy_ + dy * (radius_ + kGap);
            texts_.draw(labels_[spoke], TextRole::Label, x - size.width * (1 - dx) / 2, y - size.height * (1 - dy) / 2);
        }
    }

    cairo_t* cr_;
    const Workbook& workbook_;
    ChartTexts& texts_;
    const Chart& chart_;
    size_t spokes_ = 0;
    Scale scale_;
    std::vector<std::string> labels_;
    double cx_ = 0, cy_ = 0, radius_ = 0;
};

}  // namespace

void paintRadarPlot(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart, const Box& box)
{
    RadarPlot(cr, workbook, texts, chart).paint(box);
}

}  // namespace kx::workbook::chart
