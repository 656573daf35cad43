#pragma once
// What a cell shows: its value through its number format, and where General alignment puts it.
#include <cstddef>
#include <optional>
#include <string>

#include "workbook/model/model.h"

namespace kx::workbook {

struct CellContent {
    std::string text;                 // UTF-8
    std::optional<Color> color;       // from the number format, over the font's colour
    std::optional<char32_t> fill;     // repeated at fillOffset to fill the cell
    std::size_t fillOffset = 0;
    HorizontalAlign align = HorizontalAlign::Left;  // never General
    bool numeric = false;             // shown as #### when it does not fit
    const RichText* rich = nullptr;   // the text with its font runs, for text cells
};

// Nothing for blank cells. generalMaxChars bounds the digits General may use in a narrow column.
std::optional<CellContent> cellContent(const Workbook& workbook, const Cell& cell, int generalMaxChars = 11);

// The text the spreadsheet program shows for an error code.
std::string errorText(uint8_t code);

// The format of a cell index, or the default format when the index is out of range.
const CellFormat& cellFormat(const Workbook& workbook, uint16_t index);

}  // namespace kx::workbook
