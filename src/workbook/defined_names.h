#pragma once
// The built-in names that carry page set-up: the print area and the print titles of a sheet.
#include <vector>

#include "workbook/globals_reader.h"
#include "workbook/model.h"

namespace kx::workbook::detail {

// Sets printArea, titleRows and titleColumns of the sheets the names belong to. A name whose
// formula cannot be followed is left out, as the spreadsheet program ignores a broken name.
void applyBuiltinNames(const Globals& globals, std::vector<Sheet>& sheets);

}  // namespace kx::workbook::detail
