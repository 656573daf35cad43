#pragma once
// What the formulas of conditional formats work out over areas of a sheet (totals, extremes,
// counts, how often a value occurs), kept while the sheet's cells are formatted: every cell
// asks about the same areas again.
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>

#include "workbook/conditions/condition_formula.h"

namespace kx::workbook::detail {

// Calls visit(row index, cell) for the cells of the area that the sheet holds, found through the
// order of its rows and cells. `SheetType` is Sheet or const Sheet.
template <typename SheetType, typename Visit>
void forEachCellIn(SheetType& sheet, const CellRange& area, Visit visit)
{
    auto row = std::lower_bound(sheet.rows.begin(), sheet.rows.end(), area.firstRow,
                                [](const Row& r, uint32_t index) { return r.index < index; });
    for (; row != sheet.rows.end() && row->index <= area.lastRow; ++row) {
        auto cell = std::lower_bound(row->cells.begin(), row->cells.end(), area.firstColumn,
                                     [](const Cell& c, uint16_t column) { return c.column < column; });
        for (; cell != row->cells.end() && cell->column <= area.lastColumn; ++cell)
            visit(row->index, *cell);
    }
}

class AreaSummaries {
public:
    AreaSummaries(const Workbook& workbook, const Sheet& sheet) : workbook_(workbook), sheet_(sheet) {}

    enum class Aggregate : uint8_t { Count, Sum, Average, Minimum, Maximum };
    // Over the numbers of the area; texts, TRUE and FALSE and empty cells are left out. Nothing
    // for the average, minimum or maximum of no numbers.
    std::optional<double> aggregate(Aggregate kind, const CellRange& area);
    // The cells of the area that meet the criteria: a value they equal, or a text of a comparison
    // and a value (">5", "<>done"), where "*" and "?" in a text to equal stand for any characters
    // and for one. Nothing for empty criteria.
    std::optional<double> countIf(const CellRange& area, const ConditionValue& criteria);

private:
    struct Summary {
        double count = 0, sum = 0, minimum = 0, maximum = 0;
        std::unordered_map<std::string, double> occurrences;  // by valueKey
    };
    using AreaKey = std::tuple<uint32_t, uint32_t, uint16_t, uint16_t>;

    const Summary& summary(const CellRange& area);

    const Workbook& workbook_;
    const Sheet& sheet_;
    std::map<AreaKey, Summary> summaries_;
    std::map<std::pair<AreaKey, std::string>, double> counts_;
};

}  // namespace kx::workbook::detail
