#pragma once
// Formulas that name areas of cells: the built-in names that carry page set-up (the print area
// and the print titles of a sheet), and the links of chart series.
#include <optional>
#include <vector>

#include "workbook/xls/globals_reader.h"
#include "workbook/model/model.h"

namespace kx::workbook::detail {

struct SheetArea {
    std::optional<size_t> sheet;  // absent for a reference without a sheet
    CellRange range;
    bool elsewhere = false;       // on a sheet of another workbook
};

// The areas a formula lists: single references, areas and unions of them. Stops at the first
// token that is not part of such a list; throws ReadFailure when a token is cut short.
std::vector<SheetArea> formulaAreas(const Globals& globals, Bytes formula);

// Sets printArea, titleRows and titleColumns of the sheets the names belong to. A name whose
// formula cannot be followed is left out, as the spreadsheet program ignores a broken name.
void applyBuiltinNames(const Globals& globals, std::vector<Sheet>& sheets);

}  // namespace kx::workbook::detail
