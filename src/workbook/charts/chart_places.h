#pragma once
// Where the parts of a chart go, from the sizes of their texts as measured: the legend and the
// room it leaves, and the plot of a chart with axes among its labels and axis titles; or where
// the file put them, as shares of the chart. Plain numbers in, boxes out; the painters draw
// what these return.
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "workbook/model/geometry.h"
#include "workbook/model/model.h"

namespace kx::workbook::chart {

inline constexpr double kPadding = 6;  // around the chart's inside, its title and its legend
inline constexpr double kSwatch = 7;   // a legend key's square
inline constexpr double kTick = 3;
inline constexpr double kGap = 3;

struct LegendPlace {
    Box legend;
    Box plot;                               // what the legend leaves of the chart's inside
    std::vector<std::vector<size_t>> rows;  // the entries on each line of the legend
};

// The legend at its side of the chart's inside (box), or where it was put over the whole chart.
// entryWidths: each entry's key and text; lineHeight: the tallest entry text.
LegendPlace placeLegend(const Chart& chart, const Box& box, const Box& whole, const std::vector<double>& entryWidths,
                        double lineHeight);

// The texts around a plot with axes, as measured.
struct AxesTexts {
    bool horizontal = false;  // a bar chart: categories left of the plot, values under it
    double lineHeight = 0, titleHeight = 0;
    double widestValue = 0;     // of the value axis's labels
    double widestCategory = 0;  // of the category labels, which only a bar chart puts beside the plot
    std::optional<double> widestSecondary;  // of the secondary value axis's labels, when there is that axis
    double secondaryTitleWidth = 0;
    // The height of the tallest category label wrapped to the given width, when category labels
    // wrap under the plot (columns, lines and areas); not set otherwise.
    std::function<double(double wrapWidth)> tallestCategory;
    size_t points = 0;
};

// Level text's top-left corner, with the width it is centred on when it has one; upright text's centre.
struct TitlePlace {
    double x = 0, y = 0;
    double wrapWidth = -1;
    bool upright = false;
};

struct AxesPlace {
    Box plot;
    std::optional<TitlePlace> besideTitle, secondaryTitle, underTitle;
};

// The plot inside box and its axis titles; a title moved by hand goes to its place on the
// whole chart, centred where it was.
AxesPlace placeAxes(const Chart& chart, const Box& box, const Box& whole, const AxesTexts& texts);
// The box around a plot laid out by its inside: the plot placeAxes finds in it is `plot`.
Box aroundPlot(const Chart& chart, const Box& plot, const AxesTexts& texts);

// The part of the whole chart that a share of it names.
Box shareOf(const Box& whole, const DrawingShare& share);

// A level title moved by hand: at the top of the box it was moved to, centred across it (the
// box fits the program's own text, not this one), with the whole chart's width to wrap in.
TitlePlace movedTitle(const Box& whole, const DrawingShare& share);

}  // namespace kx::workbook::chart
