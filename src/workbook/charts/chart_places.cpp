#include "workbook/charts/chart_places.h"

#include <algorithm>

namespace kx::workbook::chart {

LegendPlace placeLegend(const Chart& chart, const Box& box, const Box& whole, const std::vector<double>& entryWidths,
                        double lineHeight)
{
    LegendPlace place{.plot = box};
    Box& plot = place.plot;
    const bool floating = chart.legendPosition == LegendPosition::Floating;
    const DrawingShare& area = chart.legendArea;
    const double floatingWidth = (area.right - area.left) * whole.width, floatingHeight = (area.bottom - area.top) * whole.height;
    const bool across = chart.legendPosition == LegendPosition::Top || chart.legendPosition == LegendPosition::Bottom ||
                        (floating && floatingWidth > floatingHeight);
    const double widest = entryWidths.empty() ? 0 : *std::max_element(entryWidths.begin(), entryWidths.end());
    // Entries run in rows as wide as the space allows, or in one column beside the plot.
    const double room = floating && across ? std::max(floatingWidth, widest)
                        : across           ? box.width - 2 * kPadding
                                           : std::min(widest, box.width / 3);
    place.rows.emplace_back();
    double rowWidth = 0, legendWidth = 0;
    for (size_t i = 0; i < entryWidths.size(); ++i) {
        const double width = std::min(entryWidths[i], room) + (across ? kPadding : 0);
        if (!place.rows.back().empty() && (!across || rowWidth + width > room)) {
            place.rows.emplace_back();
            rowWidth = 0;
        }
        place.rows.back().push_back(i);
        rowWidth += width;
        legendWidth = std::max(legendWidth, rowWidth);
    }
    const double width = legendWidth + 2 * kPadding;
    const double height = std::min(static_cast<double>(place.rows.size()) * lineHeight + 2 * kPadding, box.height);
    Box& legend = place.legend;
    legend = {box.x + box.width - width, box.y + (box.height - height) / 2, width, height};
    switch (chart.legendPosition) {
    case LegendPosition::Floating:
        legend = {whole.x + area.left * whole.width, whole.y + area.top * whole.height, width, height};
        break;
    case LegendPosition::Bottom:
        legend = {box.x + (box.width - width) / 2, box.y + box.height - height, width, height};
        plot.height -= height + kPadding;
        break;
    case LegendPosition::Top:
        legend = {box.x + (box.width - width) / 2, box.y, width, height};
        plot.y += height + kPadding;
        plot.height -= height + kPadding;
        break;
    case LegendPosition::Left:
        legend.x = box.x;
        plot.x += width + kPadding;
        plot.width -= width + kPadding;
        break;
    case LegendPosition::Corner:  // the top right corner
        legend.y = box.y;
        plot.width -= width + kPadding;
        break;
    default: plot.width -= width + kPadding; break;
    }
    return place;
}

Box shareOf(const Box& whole, const DrawingShare& share)
{
    return {whole.x + share.left * whole.width, whole.y + share.top * whole.height, (share.right - share.left) * whole.width,
            (share.bottom - share.top) * whole.height};
}

TitlePlace movedTitle(const Box& whole, const DrawingShare& share)
{
    const Box moved = shareOf(whole, share);
    return {moved.x + moved.width / 2 - whole.width / 2, moved.y, whole.width};
}

AxesPlace placeAxes(const Chart& chart, const Box& box, const Box& whole, const AxesTexts& texts)
{
    const ChartAxis& under = texts.horizontal ? chart.valueAxis : chart.categoryAxis;  // the axis under the plot
    const ChartAxis& beside = texts.horizontal ? chart.categoryAxis : chart.valueAxis;  // the axis left of it
    const ChartAxis* secondary = texts.widestSecondary ? &chart.secondaryValueAxis : nullptr;
    const bool leftTitleAbove = !texts.horizontal && beside.titleAcross;
    const bool rightTitleAbove = secondary && secondary->titleAcross;
    const double lineHeight = texts.lineHeight, titleHeight = texts.titleHeight;
    double left = kTick + kGap, right = texts.widestValue / 4 + kGap;
    double top = lineHeight / 2, bottom = kTick + kGap + (under.labels ? lineHeight : 0);
    left += texts.horizontal ? std::min(texts.widestCategory, box.width / 3) : texts.widestValue;
    if (secondary && secondary->labels)
        right = *texts.widestSecondary + kTick + 2 * kGap;
    if (!beside.title.empty() && !leftTitleAbove)
        left += titleHeight + kGap;
    if (secondary && !secondary->title.empty() && !rightTitleAbove)
        right += titleHeight + kGap;
    if ((!beside.title.empty() && leftTitleAbove) || (secondary && !secondary->title.empty() && rightTitleAbove))
        top += titleHeight + kGap;
    if (!under.title.empty())
        bottom += titleHeight + kGap;
    AxesPlace place;
    Box& plot = place.plot;
    plot = {box.x + left, box.y + top, box.width - left - right, box.height - bottom - top};
    // Category labels that wrap take more lines under the plot.
    if (texts.tallestCategory && under.labels && texts.points > 0) {
        const double tallest =
            std::max(lineHeight, texts.tallestCategory(0.95 * plot.width / static_cast<double>(texts.points)));
        plot.height -= std::min(tallest, 4 * lineHeight) - lineHeight;
    }
    const double middle = plot.y + plot.height / 2;
    if (leftTitleAbove)
        place.besideTitle = TitlePlace{box.x, box.y};
    else if (!beside.title.empty())
        place.besideTitle = TitlePlace{box.x + titleHeight / 2, middle, -1, true};
    if (secondary && rightTitleAbove)
        place.secondaryTitle = TitlePlace{box.x + box.width - texts.secondaryTitleWidth, box.y};
    else if (secondary && !secondary->title.empty())
        place.secondaryTitle = TitlePlace{box.x + box.width - titleHeight / 2, middle, -1, true};
    if (!under.title.empty())
        place.underTitle = TitlePlace{plot.x, box.y + box.height - titleHeight, plot.width};
    const auto moveTitle = [&](const ChartAxis& axis, std::optional<TitlePlace>& title) {
        if (!title || !axis.titleBox)
            return;
        if (title->upright) {
            const Box moved = shareOf(whole, *axis.titleBox);
            title = TitlePlace{moved.x + moved.width / 2, moved.y + moved.height / 2, -1, true};
        } else {
            title = movedTitle(whole, *axis.titleBox);
        }
    };
    moveTitle(beside, place.besideTitle);
    if (secondary)
        moveTitle(*secondary, place.secondaryTitle);
    moveTitle(under, place.underTitle);
    return place;
}

Box aroundPlot(const Chart& chart, const Box& plot, const AxesTexts& texts)
{
    const Box inside = placeAxes(chart, plot, plot, texts).plot;
    const double left = inside.x - plot.x, top = inside.y - plot.y;
    return {plot.x - left, plot.y - top, 2 * plot.width - inside.width, 2 * plot.height - inside.height};
}

}  // namespace kx::workbook::chart
