#pragma once
// The colour a cell's fill puts on paper, which both the used range and the painters ask.
#include "workbook/model/model.h"

namespace kx::workbook {

// The colour a fill prints: solid fills in the foreground colour, patterns as a blend of their
// two colours by ink coverage; white without a fill.
Color fillColor(const Workbook& workbook, const CellFormat& format);
// Whether the fill puts any colour on white paper.
bool fillShows(const Workbook& workbook, const CellFormat& format);

}  // namespace kx::workbook
