#include "workbook/conditions/conditional_formats.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "workbook/conditions/condition_areas.h"
#include "workbook/conditions/condition_formula.h"
#include "workbook/conditions/derived_formats.h"
#include "workbook/conditions/scales_and_bars.h"

namespace kx::workbook::detail {

namespace {

// Past so many rules tried, the remaining cells keep their own formats: a crafted file could
// otherwise ask for billions.
constexpr size_t kMaximumRulesTried = 2'000'000;

using Value = ConditionValue;

// Whether the cell's value meets the rule's comparison; nothing when it cannot be told.
template <typename Evaluate>
std::optional<bool> compares(const ConditionalRule& rule, const Value& value, Evaluate evaluate)
{
    std::vector<Value> operands;
    for (const auto& formula : rule.operands) {
        const auto operand = evaluate(formula);
        if (!operand)
            return std::nullopt;
        if (operand->kind == Value::Kind::Error)
            return false;
        operands.push_back(*operand);
    }
    if (operands.empty() || value.kind == Value::Kind::Error)
        return false;
    const int order = compareConditionValues(value, operands[0]);
    switch (rule.comparison) {
    case Comparison::Equal: return order == 0;
    case Comparison::NotEqual: return order != 0;
    case Comparison::Greater: return order > 0;
    case Comparison::Less: return order < 0;
    case Comparison::GreaterOrEqual: return order >= 0;
    case Comparison::LessOrEqual: return order <= 0;
    case Comparison::Between:
    case Comparison::NotBetween: {
        if (operands.size() < 2)
            return false;
        // Either bound may be the lower.
        const bool low = compareConditionValues(operands[0], operands[1]) <= 0;
        const Value& lower = low ? operands[0] : operands[1];
        const Value& upper = low ? operands[1] : operands[0];
        const bool inside = compareConditionValues(value, lower) >= 0 && compareConditionValues(value, upper) <= 0;
        return rule.comparison == Comparison::Between ? inside : !inside;
    }
    }
    return false;
}

const ConditionalRule* ruleFor(const Workbook& workbook, const Sheet& sheet, const ConditionalFormat& format,
                               const Cell& cell, uint32_t row, AreaSummaries& areas)
{
    const CellRef at{row, cell.column};
    const auto evaluate = [&](const std::vector<uint8_t>& formula) {
        return conditionValue(formula, workbook, sheet, at, areas);
    };
    const Value value = conditionValueOf(workbook, &cell);
    for (const ConditionalRule& rule : format.rules) {
        if (rule.colorScale || rule.dataBar)
            continue;
        std::optional<bool> result;
        if (!rule.operands.empty())
            result = compares(rule, value, evaluate);
        else if (!rule.formula.empty())
            result = conditionHolds(rule.formula, workbook, sheet, at, areas);
        if (!result)
            return nullptr;
        if (*result)
            return &rule;
    }
    return nullptr;
}

// The cells the ranges cover, each once.
CoveredCells coveredCells(Sheet& sheet, const ConditionalFormat& format)
{
    CoveredCells cells;
    for (const CellRange& range : format.ranges)
        forEachCellIn(sheet, range, [&](uint32_t row, Cell& cell) { cells.emplace_back(row, &cell); });
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

}  // namespace

void applyConditionalFormats(Workbook& workbook)
{
    DerivedFormats derived(workbook);
    size_t tries = 0;
    for (Sheet& sheet : workbook.sheets) {
        // Summaries of areas are of the values as read: no conditional format changes a value.
        AreaSummaries areas(workbook, sheet);
        for (const ConditionalFormat& format : sheet.conditionalFormats) {
            const CoveredCells cells = coveredCells(sheet, format);
            for (const auto& [row, cell] : cells) {
                tries += format.rules.size();
                if (tries > kMaximumRulesTried)
                    return;
                if (const ConditionalRule* rule = ruleFor(workbook, sheet, format, *cell, row, areas))
                    if (const auto index = derived.format(cell->format, *rule))
                        cell->format = *index;
            }
            // A scale's fill shows over that of a rule that holds.
            const CellRef origin =
                format.ranges.empty() ? CellRef{} : CellRef{format.ranges[0].firstRow, format.ranges[0].firstColumn};
            for (const ConditionalRule& rule : format.rules)
                applyScaleOrBar(rule, cells, origin, {workbook, sheet, areas, derived});
        }
        sortDataBars(sheet);
    }
}

}  // namespace kx::workbook::detail
