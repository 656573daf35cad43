#include "workbook/conditions/conditional_formats.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "workbook/conditions/condition_areas.h"
#include "workbook/conditions/condition_formula.h"

namespace kx::workbook::detail {

namespace {

// More formats (and fonts) than this are not made: a damaged or crafted file could ask for one
// per cell. Past so many rules tried, the remaining cells keep their own formats: a crafted file
// could otherwise ask for billions.
constexpr size_t kMaximumFormats = 65000;
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

class DerivedFormats {
public:
    explicit DerivedFormats(Workbook& workbook) : workbook_(workbook) {}

    // The index of the cell format `base` with the rule's changes, made once.
    std::optional<uint16_t> format(uint16_t base, const ConditionalRule& rule)
    {
        const auto key = std::make_pair(base, &rule);
        if (const auto found = made_.find(key); found != made_.end())
            return found->second;
        if (workbook_.formats.size() >= kMaximumFormats || workbook_.fonts.size() >= kMaximumFormats ||
            base >= workbook_.formats.size())
            return std::nullopt;
        CellFormat format = workbook_.formats[base];
        apply(rule.change, format);
        workbook_.formats.push_back(format);
        const auto index = static_cast<uint16_t>(workbook_.formats.size() - 1);
        made_.emplace(key, index);
        return index;
    }

private:
    void apply(const FormatChange& change, CellFormat& format)
    {
        if (change.fontColor || change.bold || change.italic || change.strikeout || change.underline) {
            Font font = format.fontIndex < workbook_.fonts.size() ? workbook_.fonts[format.fontIndex] : Font{};
            font.colorIndex = change.fontColor.value_or(font.colorIndex);
            font.bold = change.bold.value_or(font.bold);
            font.italic = change.italic.value_or(font.italic);
            font.strikeout = change.strikeout.value_or(font.strikeout);
            font.underline = change.underline.value_or(font.underline);
            workbook_.fonts.push_back(font);
            format.fontIndex = static_cast<uint16_t>(workbook_.fonts.size() - 1);
        }
        for (auto [side, border] : {std::pair{&change.left, &format.left}, {&change.right, &format.right},
                                    {&change.top, &format.top}, {&change.bottom, &format.bottom}})
            if (*side)
                *border = **side;
        applyFill(change, format);
    }

    // A rule's solid fill shows its background colour, where a cell format's shows the foreground.
    static void applyFill(const FormatChange& change, CellFormat& format)
    {
        format.fillPattern = change.fillPattern.value_or(format.fillPattern);
        if (change.fillBackground && !change.fillPattern && format.fillPattern == 0)
            format.fillPattern = 1;
        if (format.fillPattern == 1) {
            if (const auto shown = change.fillBackground ? change.fillBackground : change.fillForeground)
                format.fillForeground = *shown;
            return;
        }
        format.fillForeground = change.fillForeground.value_or(format.fillForeground);
        format.fillBackground = change.fillBackground.value_or(format.fillBackground);
    }

    Workbook& workbook_;
    std::map<std::pair<uint16_t, const ConditionalRule*>, uint16_t> made_;
};

// The cells the ranges cover, each once.
std::vector<std::pair<uint32_t, Cell*>> coveredCells(Sheet& sheet, const ConditionalFormat& format)
{
    std::vector<std::pair<uint32_t, Cell*>> cells;
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
        for (const ConditionalFormat& format : sheet.conditionalFormats)
            for (const auto& [row, cell] : coveredCells(sheet, format)) {
                tries += format.rules.size();
                if (tries > kMaximumRulesTried)
                    return;
                if (const ConditionalRule* rule = ruleFor(workbook, sheet, format, *cell, row, areas))
                    if (const auto index = derived.format(cell->format, *rule))
                        cell->format = *index;
            }
    }
}

}  // namespace kx::workbook::detail
