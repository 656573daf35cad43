#pragma once
// What the newer rule record holds for a colour scale or a data bar: thresholds among the
// covered cells' numbers, and colours given by palette index, as red, green and blue, or as a
// colour of the workbook's theme.
#include <optional>

#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// A colour of the theme (by its number) as the spreadsheet program's default theme has it,
// lightened by a tint above 0 or darkened by one below; nothing for a number it does not have.
std::optional<Color> themeColor(uint32_t index, double tint);
Color tinted(Color color, double tint);

// Nothing when the scale uses a kind of threshold or colour this reader does not know; a
// record that ends inside them fails the reader.
std::optional<ColorScale> readColorScale(RecordReader& reader);
std::optional<DataBarRule> readDataBar(RecordReader& reader);

}  // namespace kx::workbook::detail
