#pragma once
// The formulas of conditional formats: small expressions over the sheet's cells, evaluated for
// one cell at a time from their stored tokens.
#include <cstdint>
#include <optional>
#include <vector>

#include "workbook/conditions/condition_value.h"
#include "workbook/model/model.h"

namespace kx::workbook::detail {

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
