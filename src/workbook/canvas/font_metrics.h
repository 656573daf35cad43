#pragma once
// Measurements of fonts that the layout of a sheet depends on.
#include "workbook/model/model.h"

namespace kx::workbook {

// The width in whole screen pixels (96 dpi) of the widest digit 0-9 in the font, through the
// font that fontconfig picks for its name. Cached per name and size; safe to call from any thread.
int maxDigitWidthPixels(const Font& font);

// How much narrower the spreadsheet program measures text than its outlines are: it decides what
// fits a cell by hinted, whole-pixel widths on screen. The ratio of the widest digit's whole
// pixels to its exact width stands for that of any text in the font.
double screenWidthRatio(const Font& font);

// How much wider a column prints than its screen pixels: on paper the spreadsheet program lays
// the default font's digits out at their exact width, on screen at whole pixels.
double paperColumnScale(const Font& defaultFont);

}  // namespace kx::workbook
