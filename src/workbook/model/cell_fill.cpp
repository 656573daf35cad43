#include "workbook/model/cell_fill.h"

#include <array>

namespace kx::workbook {
namespace {

constexpr Color black{0, 0, 0}, white{255, 255, 255};
constexpr uint16_t windowBackground = 65;

// The share of foreground ink in the fill patterns 2-18 of the file format.
constexpr std::array<double, 19> patternCoverage{0,   1,   0.5, 0.75, 0.25, 0.5,  0.5,  0.5,   0.5,    0.5,
                                                 0.5, 0.25, 0.25, 0.25, 0.25, 0.25, 0.25, 0.125, 0.0625};

}  // namespace

Color blend(Color foreground, Color background, double coverage)
{
    const auto mix = [&](uint8_t f, uint8_t b) { return static_cast<uint8_t>(f * coverage + b * (1 - coverage) + 0.5); };
    return {mix(foreground.red, background.red), mix(foreground.green, background.green),
            mix(foreground.blue, background.blue)};
}

Color fillColor(const Workbook& workbook, const CellFormat& format)
{
    if (format.fillPattern == 0)
        return white;
    // The system's window background (65) is white even as a foreground; other automatic
    // foregrounds are the window text's black.
    const Color foreground = workbook.color(format.fillForeground, format.fillForeground == windowBackground ? white : black);
    const Color background = workbook.color(format.fillBackground, white);
    const double coverage = format.fillPattern < patternCoverage.size() ? patternCoverage[format.fillPattern] : 0.5;
    return blend(foreground, background, coverage);
}

bool fillShows(const Workbook& workbook, const CellFormat& format)
{
    return format.fillPattern != 0 && fillColor(workbook, format) != white;
}

}  // namespace kx::workbook
