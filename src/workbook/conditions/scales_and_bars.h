#pragma once
// Colour scales and data bars: where each number a conditional format covers lies among the
// numbers of all its cells, and the fill or the bar that gives it.
#include <cstdint>
#include <utility>
#include <vector>

#include "workbook/conditions/condition_areas.h"
#include "workbook/conditions/derived_formats.h"
#include "workbook/model/model.h"

namespace kx::workbook::detail {

using CoveredCells = std::vector<std::pair<uint32_t, Cell*>>;  // row, cell

struct ScaleTarget {
    const Workbook& workbook;
    Sheet& sheet;
    AreaSummaries& areas;
    DerivedFormats& derived;
};

// Fills each number among the cells in the colour of the rule's scale, or adds its bar to the
// sheet's, unsorted. Formula thresholds are evaluated for the cell `origin`. Nothing when the
// cells hold no number or a threshold cannot be evaluated.
void applyScaleOrBar(const ConditionalRule& rule, const CoveredCells& cells, CellRef origin, ScaleTarget target);

// Puts the sheet's bars in order of their cells, the first one added for a cell kept.
void sortDataBars(Sheet& sheet);

}  // namespace kx::workbook::detail
