#include "workbook/conditions/condition_value.h"

#include <glib.h>

#include <algorithm>
#include <cmath>

namespace kx::workbook::detail {

using Value = ConditionValue;

ConditionValue numberValue(double value)
{
    return std::isfinite(value) ? Value{Value::Kind::Number, value, {}} : errorValue();
}

ConditionValue booleanValue(bool value) { return {Value::Kind::Boolean, value ? 1.0 : 0.0, {}}; }

ConditionValue errorValue() { return {Value::Kind::Error, 0, {}}; }

ConditionValue conditionValueOf(const Workbook& workbook, const Cell* cell)
{
    if (!cell)
        return {};
    switch (cell->kind) {
    case CellKind::Blank: return {};
    case CellKind::Number: return numberValue(cell->number);
    case CellKind::Boolean: return booleanValue(cell->number != 0);
    case CellKind::Text:
        return {Value::Kind::Text, 0, cell->text < workbook.strings.size() ? workbook.strings[cell->text].utf8 : ""};
    case CellKind::Error: return errorValue();
    }
    return errorValue();
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), g_ascii_tolower);
    return text;
}

int compareConditionValues(Value a, Value b)
{
    if (a.kind == Value::Kind::Empty)
        a = b.kind == Value::Kind::Text ? Value{Value::Kind::Text, 0, {}} : Value{b.kind == Value::Kind::Boolean ? b.kind : Value::Kind::Number, 0, {}};
    if (b.kind == Value::Kind::Empty)
        b = a.kind == Value::Kind::Text ? Value{Value::Kind::Text, 0, {}} : Value{a.kind == Value::Kind::Boolean ? a.kind : Value::Kind::Number, 0, {}};
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.kind == Value::Kind::Text) {
        const std::string x = lowerCase(a.text), y = lowerCase(b.text);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
}

}  // namespace kx::workbook::detail
