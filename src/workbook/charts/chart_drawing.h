#pragma once
// What the parts of a chart painter share: texts in the chart's fonts, series colours and the
// value scale of an axis.
#include <cairo.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "workbook/canvas/cairo_paint.h"
#include "workbook/model/geometry.h"
#include "workbook/canvas/cell_fonts.h"
#include "workbook/canvas/pango_layout.h"

namespace kx::workbook::chart {

inline constexpr Color kBlack{0, 0, 0};
inline constexpr double kLineWidth = 0.75;  // frames, axes and outlines

struct Size {
    double width = 0, height = 0;
};

enum class TextRole : uint8_t { Title, AxisTitle, Label };

class ChartTexts {
public:
    ChartTexts(cairo_t* cr, CellFonts& fonts, const Chart& chart);
    ~ChartTexts();
    ChartTexts(const ChartTexts&) = delete;
    ChartTexts& operator=(const ChartTexts&) = delete;

    // Remembered for the chart: its labels are measured again and again while the plot is laid out.
    Size measure(const std::string& text, TextRole role, double wrapWidth = -1);
    // Draws the text with its top-left corner at x, y; centred on the wrap width when one is given.
    void draw(const std::string& text, TextRole role, double x, double y, double wrapWidth = -1);
    // Draws the text turned a quarter anticlockwise, centred on the point.
    void drawUpright(const std::string& text, TextRole role, double centerX, double centerY);

private:
    void prepare(const std::string& text, TextRole role, double wrapWidth);
    const PangoFontDescription* description(TextRole role);

    cairo_t* cr_;
    CellFonts& fonts_;
    LayoutPtr layout_;
    PangoFontDescription* title_;
    PangoFontDescription* axisTitle_;
    uint16_t labelFont_, titleFont_;
    std::map<std::tuple<std::string, TextRole, double>, Size> measured_;
};

// The colours of a series or point, the chart's own or the automatic ones of the palette.
Color seriesFill(const Workbook& workbook, const ChartSeries& series, size_t index);
Color seriesLine(const Workbook& workbook, const ChartSeries& series, size_t index);
Color pointFill(const Workbook& workbook, const ChartSeries& series, size_t point);
MarkerShape seriesMarker(const ChartSeries& series, size_t index);

void fillAndStroke(cairo_t* cr, const ChartFrame& frame, double lineWidth);
void paintMarker(cairo_t* cr, MarkerShape shape, double x, double y, double size, Color line, Color fill);

// The values an axis spans and the step between its labels.
struct Scale {
    double minimum = 0, maximum = 1, step = 0.2;
    double share(double value) const { return maximum > minimum ? (value - minimum) / (maximum - minimum) : 0; }
    std::vector<double> ticks() const;
};
Scale valueScale(double low, double high, const ChartAxis& axis);
// A number of an axis or label in the format code; a step's rounding error just off zero shows 0.
std::string axisNumber(const Workbook& workbook, double value, const std::string& code);

// The names of the first `points` categories: those of the first series that has any, else
// their numbers from 1.
std::vector<std::string> categoryLabels(const Chart& chart, size_t points);

// The plot of a pie chart, with its second pie or bar when it has one.
void paintPiePlot(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart, const Box& box);

// The plot of a chart with axes: columns, bars, lines, areas and scatter, in box with its labels
// (or around box, when the file laid the plot out by its inside); whole: the chart.
void paintAxesPlot(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart, const Box& box,
                   const Box& whole);
// The plot of a radar chart: a spoke for each category, clockwise from the top, and each
// series joining its values on them, filled or as lines.
void paintRadarPlot(cairo_t* cr, const Workbook& workbook, ChartTexts& texts, const Chart& chart, const Box& box);

}  // namespace kx::workbook::chart
