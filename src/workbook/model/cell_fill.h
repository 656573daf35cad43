#pragma once
// The colour a cell's fill puts on paper, which both the used range and the painters ask.
#include "workbook/model/model.h"

namespace kx::workbook {

// The colour a fill prints: solid fills in the foreground colour, patterns as a blend of their
// two colours by ink coverage; white without a fill.
Color fillColor(const Workbook& workbook, const CellFormat& format);
// `coverage` (0 to 1) of the foreground over the background, as ink mixes on paper.
Color blend(Color foreground, Color background, double coverage);
// Whether the fill puts any colour on white paper.
bool fillShows(const Workbook& workbook, const CellFormat& format);

}  // namespace kx::workbook
