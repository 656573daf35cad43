#pragma once
// The formulas of conditional formats: small expressions over the sheet's cells, evaluated for
// one cell at a time from their stored tokens.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbook/model/model.h"

namespace kx::workbook::detail {

// A value as conditions compare it.
struct ConditionValue {
    enum class Kind : uint8_t { Empty, Number, Text, Boolean, Error } kind = Kind::Empty;
    double number = 0;  // Number; Boolean as 0 or 1
    std::string text;
};

// The value of the cell, or of an empty cell when there is none.
ConditionValue conditionValueOf(const Workbook& workbook, const Cell* cell);
// Numbers before texts before TRUE and FALSE, texts without regard to case; an empty cell
// counts as 0, "" or FALSE beside the other value. Errors are not compared.
int compareConditionValues(ConditionValue a, ConditionValue b);

// The text in lower case, for comparing texts without regard to case.
std::string lowerCase(std::string text);

class AreaSummaries;

// The value of the formula for the cell at `at` of the sheet `areas` summarises, its relative
// references counted from there; nothing when it uses something this evaluator does not know
// (most functions, names, other sheets) or its tokens are damaged.
std::optional<ConditionValue> conditionValue(const std::vector<uint8_t>& formula, const Workbook& workbook,
                                             const Sheet& sheet, CellRef at, AreaSummaries& areas);
// Whether it comes out true; an error or a text is false.
std::optional<bool> conditionHolds(const std::vector<uint8_t>& formula, const Workbook& workbook, const Sheet& sheet,
                                   CellRef at, AreaSummaries& areas);

}  // namespace kx::workbook::detail
