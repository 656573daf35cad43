#pragma once
// Cell formats (XF records).
#include <cstdint>
#include <vector>

#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// A cell format as stored, its font index still with the file's gap at 4.
//
// A cell format stores every attribute a cell shows. It also names a parent style and carries
// one "used" mark per attribute group (number format, font, alignment, border, fill,
// protection), but in a cell format a mark only says whether a later edit of the style carries
// over into that group (clear: it does; set: the cell format keeps its own). How the workbook
// looks now is in the stored values alone, so the style adds nothing when reading. Writers do
// store cell formats whose clear marks disagree with their style: taking the style's group
// there turns bold headings plain that the spreadsheet program and LibreOffice show bold.
CellFormat readXf(RecordReader& reader);

// The formats by XF index with font indexes mapped to Workbook::fonts. Never empty: a file
// without XF records gets one default format.
std::vector<CellFormat> resolveCellFormats(std::vector<CellFormat> stored, size_t fontCount);

// The font index of XF records and format runs, where the file skips index 4, as an index
// into Workbook::fonts; indexes that name no font fall back to the default font 0.
uint16_t fontIndexFromFile(uint16_t stored, size_t fontCount);

// The border style in the low four bits; numbers past the known styles draw as thin lines.
BorderStyle borderStyle(uint32_t bits);


}  // namespace kx::workbook::detail
