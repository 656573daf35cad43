#pragma once
// Cell formats (XF records).
#include <cstdint>
#include <vector>

#include "workbook/model.h"
#include "workbook/record_stream.h"

namespace kx::workbook::detail {

// A cell format as stored, its font index still with the file's gap at 4.
//
// A cell format names a parent style and marks which attribute groups it sets itself, but the
// spreadsheet program shows a cell's own attributes wherever they differ from its style's, so
// the stored values are the ones shown and the style adds nothing to them. (Folding the style
// in by those marks turned bold headings plain in a real workbook that LibreOffice and the
// spreadsheet program show bold.)
CellFormat readXf(RecordReader& reader);

// The formats by XF index with font indexes mapped to Workbook::fonts. Never empty: a file
// without XF records gets one default format.
std::vector<CellFormat> resolveCellFormats(std::vector<CellFormat> stored, size_t fontCount);

// The font index of XF records and format runs, where the file skips index 4, as an index
// into Workbook::fonts; indexes that name no font fall back to the default font 0.
uint16_t fontIndexFromFile(uint16_t stored, size_t fontCount);

// The 56 colours of palette indexes 8..63 in a workbook without a PALETTE record.
std::vector<Color> defaultPalette();

}  // namespace kx::workbook::detail
