#pragma once
// Cell formats (XF records): decoding and folding a cell format's parent style into it.
#include <cstdint>
#include <vector>

#include "workbook/model.h"
#include "workbook/record_stream.h"

namespace kx::workbook::detail {

struct StoredCellFormat {
    CellFormat format;          // as stored, font index still with the file's gap at 4
    bool isStyle = false;
    uint16_t parent = 0;        // the style a cell format takes unset attributes from
    uint8_t ownAttributes = 0;  // attribute groups, bit 0 number format .. bit 4 fill
};

StoredCellFormat readXf(RecordReader& reader);

// The formats by XF index, parents folded in and font indexes mapped to Workbook::fonts.
// Never empty: a file without XF records gets one default format.
std::vector<CellFormat> resolveCellFormats(const std::vector<StoredCellFormat>& stored, size_t fontCount);

// The font index of XF records and format runs, where the file skips index 4, as an index
// into Workbook::fonts; indexes that name no font fall back to the default font 0.
uint16_t fontIndexFromFile(uint16_t stored, size_t fontCount);

// The 56 colours of palette indexes 8..63 in a workbook without a PALETTE record.
std::vector<Color> defaultPalette();

}  // namespace kx::workbook::detail
