#include "workbook/charts/chart_drawing.h"

#include <algorithm>
#include <cmath>

#include "workbook/format/number_format.h"
#include "workbook/canvas/hidden_glyphs.h"

namespace kx::workbook::chart {

namespace {

constexpr double kTitleSize = 12;
// The palette's chart colours: eight for fills from index 24, eight for lines from index 32.
constexpr uint16_t kChartFills = 24, kChartLines = 32;
constexpr size_t kChartColors = 8;
constexpr MarkerShape kMarkerCycle[] = {MarkerShape::Diamond, MarkerShape::Square, MarkerShape::Triangle,
                                        MarkerShape::Cross,   MarkerShape::Star,   MarkerShape::Circle,
                                        MarkerShape::Plus};

// Series past the eighth take the other set of colours, so that neighbours still differ.
Color automaticColor(const Workbook& workbook, size_t index, uint16_t first, uint16_t other)
{
    const bool wrapped = (index / kChartColors) % 2 == 1;
    return workbook.color(static_cast<uint16_t>((wrapped ? other : first) + index % kChartColors), kBlack);
}

}  // namespace

ChartTexts::ChartTexts(cairo_t* cr, CellFonts& fonts, const Chart& chart)
    : cr_(cr), fonts_(fonts), layout_(makeLayout(cr)), labelFont_(chart.textFont.value_or(0)),
      titleFont_(chart.titleFont.value_or(labelFont_))
{
    title_ = pango_font_description_copy(fonts.description(titleFont_));
    if (!chart.titleFont) {
        pango_font_description_set_size(title_, static_cast<int>(kTitleSize * PANGO_SCALE));
        pango_font_description_set_weight(title_, PANGO_WEIGHT_BOLD);
    }
    axisTitle_ = pango_font_description_copy(fonts.description(labelFont_));
    pango_font_description_set_weight(axisTitle_, PANGO_WEIGHT_BOLD);
}

ChartTexts::~ChartTexts()
{
    pango_font_description_free(title_);
    pango_font_description_free(axisTitle_);
}

const PangoFontDescription* ChartTexts::description(TextRole role)
{
    switch (role) {
    case TextRole::Title: return title_;
    case TextRole::AxisTitle: return axisTitle_;
    case TextRole::Label: break;
    }
    return fonts_.description(labelFont_);
}

void ChartTexts::prepare(const std::string& text, TextRole role, double wrapWidth)
{
    PangoLayout* layout = layout_.get();
    pango_layout_set_font_description(layout, description(role));
    AttrListPtr attributes(pango_attr_list_new());
    addNoLigatures(attributes.get());
    addNoHyphens(attributes.get());
    pango_layout_set_attributes(layout, attributes.get());
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    pango_layout_set_width(layout, wrapWidth > 0 ? static_cast<int>(wrapWidth * PANGO_SCALE) : -1);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
}

Size ChartTexts::measure(const std::string& text, TextRole role, double wrapWidth)
{
    if (text.empty())
        return {};
    auto [entry, added] = measured_.try_emplace({text, role, wrapWidth});
    if (added) {
        prepare(text, role, wrapWidth);
        const auto [width, height] = logicalSize(layout_.get());
        entry->second = {width, height};
    }
    return entry->second;
}

void ChartTexts::draw(const std::string& text, TextRole role, double x, double y, double wrapWidth)
{
    if (text.empty())
        return;
    prepare(text, role, wrapWidth);
    setSourceColor(cr_, fonts_.color(role == TextRole::Title ? titleFont_ : labelFont_));
    cairo_move_to(cr_, x, y);
    showVisibleLayout(cr_, layout_.get());
}

void ChartTexts::drawUpright(const std::string& text, TextRole role, double centerX, double centerY)
{
    const Size size = measure(text, role);
    cairo_save(cr_);
    cairo_translate(cr_, centerX, centerY);
    cairo_rotate(cr_, -M_PI / 2);
    pango_cairo_update_layout(cr_, layout_.get());
    draw(text, role, -size.width / 2, -size.height / 2);
    cairo_restore(cr_);
    pango_cairo_update_layout(cr_, layout_.get());
}

Color seriesFill(const Workbook& workbook, const ChartSeries& series, size_t index)
{
    return series.format.fill.value_or(automaticColor(workbook, index, kChartFills, kChartLines));
}

Color seriesLine(const Workbook& workbook, const ChartSeries& series, size_t index)
{
    return series.format.line.value_or(automaticColor(workbook, index, kChartLines, kChartFills));
}

Color pointFill(const Workbook& workbook, const ChartSeries& series, size_t point)
{
    for (const auto& [index, color] : series.pointFills)
        if (index == point)
            return color;
    return automaticColor(workbook, point, kChartFills, kChartLines);
}

MarkerShape seriesMarker(const ChartSeries& series, size_t index)
{
    return series.format.marker.value_or(kMarkerCycle[index % std::size(kMarkerCycle)]);
}

void fillAndStroke(cairo_t* cr, const ChartFrame& frame, double lineWidth)
{
    fillAndStroke(cr, frame.fill, frame.line, lineWidth);
}

void paintMarker(cairo_t* cr, MarkerShape shape, double x, double y, double size, Color line, Color fill)
{
    const double r = size / 2;
    cairo_new_path(cr);
    switch (shape) {
    case MarkerShape::None: return;
    case MarkerShape::Square: cairo_rectangle(cr, x - r, y - r, size, size); break;
    case MarkerShape::Diamond:
        cairo_move_to(cr, x, y - r);
        cairo_line_to(cr, x + r, y);
        cairo_line_to(cr, x, y + r);
        cairo_line_to(cr, x - r, y);
        cairo_close_path(cr);
        break;
    case MarkerShape::Triangle:
        cairo_move_to(cr, x, y - r);
        cairo_line_to(cr, x + r, y + r);
        cairo_line_to(cr, x - r, y + r);
        cairo_close_path(cr);
        break;
    case MarkerShape::Circle: cairo_arc(cr, x, y, r, 0, 2 * M_PI); break;
    case MarkerShape::Cross:
    case MarkerShape::Star:
    case MarkerShape::Plus:
    case MarkerShape::DowJones:
    case MarkerShape::StandardDeviation: {
        const bool straight = shape == MarkerShape::Plus || shape == MarkerShape::Star;
        const bool slanted = shape == MarkerShape::Cross || shape == MarkerShape::Star;
        if (straight || !slanted) {
            cairo_move_to(cr, x - r, y);
            cairo_line_to(cr, x + r, y);
            cairo_move_to(cr, x, y - r);
            cairo_line_to(cr, x, y + r);
        }
        if (slanted) {
            cairo_move_to(cr, x - r, y - r);
            cairo_line_to(cr, x + r, y + r);
            cairo_move_to(cr, x - r, y + r);
            cairo_line_to(cr, x + r, y - r);
        }
        setSourceColor(cr, line);
        cairo_set_line_width(cr, kLineWidth);
        cairo_stroke(cr);
        return;
    }
    }
    setSourceColor(cr, fill);
    cairo_fill_preserve(cr);
    setSourceColor(cr, line);
    cairo_set_line_width(cr, kLineWidth);
    cairo_stroke(cr);
}

std::vector<double> Scale::ticks() const
{
    std::vector<double> values;
    if (!(step > 0) || !(maximum > minimum))
        return values;
    const double count = std::floor((maximum - minimum) / step + 1e-9);
    for (double i = 0; i <= count && values.size() < 1000; ++i)
        values.push_back(minimum + i * step);
    return values;
}

std::string axisNumber(const Workbook& workbook, double value, const std::string& code)
{
    return formatNumber(std::abs(value) < 1e-12 ? 0 : value, code, workbook.dateSystem1904).text;
}

std::vector<std::string> categoryLabels(const Chart& chart, size_t points)
{
    std::vector<std::string> labels(points);
    for (size_t i = 0; i < points; ++i)
        labels[i] = std::to_string(i + 1);
    for (const ChartSeries& series : chart.series)
        if (!series.categories.empty()) {
            for (size_t i = 0; i < points; ++i)
                labels[i] = i < series.categories.size() ? series.categories[i] : std::string();
            break;
        }
    return labels;
}

// Steps of 1, 2 or 5 times a power of ten, five to ten of them to the axis, and an axis that
// starts at zero unless the values lie far above it, as the spreadsheet program chooses them.
Scale valueScale(double low, double high, const ChartAxis& axis)
{
    if (!std::isfinite(low) || !std::isfinite(high) || low > high)
        low = 0, high = 1;
    if (low > 0 && low < high * 5 / 6)
        low = 0;
    if (high < 0 && high > low * 5 / 6)
        high = 0;
    if (axis.minimum)
        low = *axis.minimum;
    if (axis.maximum)
        high = *axis.maximum;
    if (high <= low)
        high = low + (low == 0 ? 1 : std::abs(low));
    Scale scale;
    if (axis.majorUnit && (high - low) / *axis.majorUnit <= 1000) {
        scale.step = *axis.majorUnit;
    } else {
        const double raw = (high - low) / 10;
        const double power = std::pow(10, std::floor(std::log10(raw)));
        scale.step = power * (raw <= power ? 1 : raw <= 2 * power ? 2 : raw <= 5 * power ? 5 : 10);
    }
    scale.minimum = axis.minimum ? *axis.minimum : std::floor(low / scale.step + 1e-9) * scale.step;
    scale.maximum = axis.maximum ? *axis.maximum : std::ceil(high / scale.step - 1e-9) * scale.step;
    if (scale.maximum <= scale.minimum)
        scale.maximum = scale.minimum + scale.step;
    // Values near the ends of the number range overflow the arithmetic; such an axis shows 0 to 1.
    if (!std::isfinite(scale.minimum) || !std::isfinite(scale.maximum) || !std::isfinite(scale.maximum - scale.minimum) ||
        !std::isfinite(scale.step) || scale.step <= 0)
        return Scale{};
    return scale;
}

}  // namespace kx::workbook::chart
