#include "workbook/conditions/scales_and_bars.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "workbook/conditions/condition_formula.h"
#include "workbook/model/cell_fill.h"

namespace kx::workbook::detail {

namespace {

// The value of a threshold among the covered numbers, in ascending order and not empty.
std::optional<double> thresholdValue(const ScaleThreshold& threshold, const std::vector<double>& numbers,
                                     CellRef origin, const ScaleTarget& target)
{
    using Kind = ScaleThreshold::Kind;
    const double lowest = numbers.front(), highest = numbers.back();
    const double share = std::clamp(threshold.value, 0.0, 100.0) / 100;
    switch (threshold.kind) {
    case Kind::Minimum: return lowest;
    case Kind::Maximum: return highest;
    case Kind::Number: return threshold.value;
    case Kind::Percent: return lowest + (highest - lowest) * share;
    case Kind::Percentile: {
        // Between the two numbers the rank falls between, as the spreadsheet's PERCENTILE does.
        const double rank = share * static_cast<double>(numbers.size() - 1);
        const auto below = static_cast<size_t>(rank);
        const double above = below + 1 < numbers.size() ? numbers[below + 1] : numbers[below];
        return numbers[below] + (above - numbers[below]) * (rank - static_cast<double>(below));
    }
    case Kind::Formula: {
        const auto value = conditionValue(threshold.formula, target.workbook, target.sheet, origin, target.areas);
        if (value && value->kind == ConditionValue::Kind::Number)
            return value->number;
        return std::nullopt;
    }
    }
    return std::nullopt;
}

Color resolved(const ScaleColor& color, const Workbook& workbook)
{
    return color.paletteIndex ? workbook.color(*color.paletteIndex, Color{0, 0, 0}) : color.rgb;
}

// Where `value` lies from `low` to `high`, from 0 to 1.
double shareBetween(double value, double low, double high)
{
    if (!(high > low))
        return value >= high ? 1 : 0;
    return std::clamp((value - low) / (high - low), 0.0, 1.0);
}

// The colour of a number on the scale whose points lie at `at`: the nearest point's beyond the
// ends, else mixed from the two points around it.
Color scaleColor(double value, const std::vector<double>& at, const std::vector<Color>& colors)
{
    if (value <= at.front())
        return colors.front();
    for (size_t i = 1; i < at.size(); ++i)
        if (value <= at[i])
            return blend(colors[i], colors[i - 1], shareBetween(value, at[i - 1], at[i]));
    return colors.back();
}

void applyScale(const ColorScale& scale, const CoveredCells& cells, const std::vector<double>& at,
                const ScaleTarget& target)
{
    std::vector<Color> colors;
    for (const auto& point : scale.points)
        colors.push_back(resolved(point.second, target.workbook));
    for (const auto& [row, cell] : cells)
        if (cell->kind == CellKind::Number)
            if (const auto index = target.derived.filled(cell->format, scaleColor(cell->number, at, colors)))
                cell->format = *index;
}

void addBars(const DataBarRule& rule, const CoveredCells& cells, double low, double high, const ScaleTarget& target)
{
    const Color color = resolved(rule.color, target.workbook);
    const double shortest = rule.shortestPercent / 100.0, longest = rule.longestPercent / 100.0;
    for (const auto& [row, cell] : cells)
        if (cell->kind == CellKind::Number) {
            const double length = shortest + (longest - shortest) * shareBetween(cell->number, low, high);
            target.sheet.dataBars.push_back(DataBar{{row, cell->column}, length, color});
            if (!rule.showsValue)
                if (const auto index = target.derived.withoutValue(cell->format))
                    cell->format = *index;
        }
}

}  // namespace

void applyScaleOrBar(const ConditionalRule& rule, const CoveredCells& cells, CellRef origin, ScaleTarget target)
{
    if (!rule.colorScale && !rule.dataBar)
        return;
    std::vector<double> numbers;
    for (const auto& [row, cell] : cells)
        if (cell->kind == CellKind::Number && std::isfinite(cell->number))
            numbers.push_back(cell->number);
    if (numbers.empty())
        return;
    std::sort(numbers.begin(), numbers.end());
    std::vector<ScaleThreshold> thresholds;
    if (rule.colorScale)
        for (const auto& point : rule.colorScale->points)
            thresholds.push_back(point.first);
    else if (rule.dataBar)
        thresholds = {rule.dataBar->shortest, rule.dataBar->longest};
    std::vector<double> at;
    for (const ScaleThreshold& threshold : thresholds) {
        const auto value = thresholdValue(threshold, numbers, origin, target);
        if (!value)
            return;
        at.push_back(*value);
    }
    if (rule.colorScale && at.size() >= 2)
        applyScale(*rule.colorScale, cells, at, target);
    else if (rule.dataBar)
        addBars(*rule.dataBar, cells, at[0], at[1], target);
}

void sortDataBars(Sheet& sheet)
{
    const auto key = [](const DataBar& bar) { return std::pair{bar.cell.row, bar.cell.column}; };
    std::stable_sort(sheet.dataBars.begin(), sheet.dataBars.end(),
                     [&](const DataBar& a, const DataBar& b) { return key(a) < key(b); });
    const auto last = std::unique(sheet.dataBars.begin(), sheet.dataBars.end(),
                                  [&](const DataBar& a, const DataBar& b) { return key(a) == key(b); });
    sheet.dataBars.erase(last, sheet.dataBars.end());
}

}  // namespace kx::workbook::detail
