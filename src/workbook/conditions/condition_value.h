#pragma once
// The values that the formulas of conditional formats compute and compare.
#include <cstdint>
#include <string>

#include "workbook/model/model.h"

namespace kx::workbook::detail {

// A value as conditions compare it.
struct ConditionValue {
    enum class Kind : uint8_t { Empty, Number, Text, Boolean, Error } kind = Kind::Empty;
    double number = 0;  // Number; Boolean as 0 or 1
    std::string text;
};

// A finite number, else an error value.
ConditionValue numberValue(double value);
ConditionValue booleanValue(bool value);
ConditionValue errorValue();

// The value of the cell, or of an empty cell when there is none.
ConditionValue conditionValueOf(const Workbook& workbook, const Cell* cell);
// Numbers before texts before TRUE and FALSE, texts without regard to case; an empty cell
// counts as 0, "" or FALSE beside the other value. Errors are not compared.
int compareConditionValues(ConditionValue a, ConditionValue b);

// The text in lower case, for comparing texts without regard to case.
std::string lowerCase(std::string text);

}  // namespace kx::workbook::detail
