#include "workbook/conditional_formats.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "workbook/condition_areas.h"
#include "workbook/condition_formula.h"

namespace kx::workbook::detail {

namespace {

// More formats (and fonts) than this are not made: a damaged or crafted file could ask for one
// per cell. Past so many rules tried, the remaining cells keep their own formats: a crafted file
// could otherwise ask for billions.
constexpr size_t kMaximumFormats = 65000;
constexpr size_t kMaximumRulesTried = 2'000'000;

using Value = ConditionValue;

std::optional<Value> valueOf(const Workbook& workbook, const Sheet& sheet, const ConditionOperand& operand)
{
    switch (operand.kind) {
    case ConditionOperand::Kind::Number: return Value{Value::Kind::Number, operand.number, {}};
    case ConditionOperand::Kind::Boolean: return Value{Value::Kind::Boolean, operand.number, {}};
    case ConditionOperand::Kind::Text: return Value{Value::Kind::Text, 0, operand.text};
    case ConditionOperand::Kind::Cell: {
        Value value = conditionValueOf(workbook, sheet.cell(operand.cell.row, operand.cell.column));
        return value.kind == Value::Kind::Error ? std::nullopt : std::optional<Value>(value);
    }
    }
    return std::nullopt;
}

// Whether the rule holds for the value; nothing when it cannot be told.
std::optional<bool> holds(const Workbook& workbook, const Sheet& sheet, const ConditionalRule& rule, const Value& value)
{
    if (rule.operands.empty())
        return std::nullopt;
    const auto first = valueOf(workbook, sheet, rule.operands[0]);
    if (!first)
        return false;
    const int order = compareConditionValues(value, *first);
    switch (rule.comparison) {
    case Comparison::Equal: return order == 0;
    case Comparison::NotEqual: return order != 0;
    case Comparison::Greater: return order > 0;
    case Comparison::Less: return order < 0;
    case Comparison::GreaterOrEqual: return order >= 0;
    case Comparison::LessOrEqual: return order <= 0;
    case Comparison::Between:
    case Comparison::NotBetween: {
        const auto second = rule.operands.size() > 1 ? valueOf(workbook, sheet, rule.operands[1]) : std::nullopt;
        if (!second)
            return false;
        // Either bound may be the lower.
        const bool low = compareConditionValues(*first, *second) <= 0;
        const Value& lower = low ? *first : *second;
        const Value& upper = low ? *second : *first;
        const bool inside = compareConditionValues(value, lower) >= 0 && compareConditionValues(value, upper) <= 0;
        return rule.comparison == Comparison::Between ? inside : !inside;
    }
    }
    return false;
}

const ConditionalRule* ruleFor(const Workbook& workbook, const Sheet& sheet, const ConditionalFormat& format,
                               const Cell& cell, uint32_t row, AreaSummaries& areas)
{
    const Value cellValue = conditionValueOf(workbook, &cell);
    const std::optional<Value> value = cellValue.kind == Value::Kind::Error ? std::nullopt : std::optional<Value>(cellValue);
    for (const ConditionalRule& rule : format.rules) {
        std::optional<bool> result;
        if (!rule.formula.empty())
            result = conditionHolds(rule.formula, workbook, sheet, CellRef{row, cell.column}, areas);
        else if (value)
            result = holds(workbook, sheet, rule, *value);
        else if (!rule.operands.empty())
            result = false;  // an error value meets no comparison
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
