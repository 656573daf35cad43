#pragma once
// What a value looks like under a number format: its text and what the format adds to it.
#include <cstddef>
#include <optional>
#include <string>

#include "workbook/model/model.h"

namespace kx::workbook {

struct FormattedValue {
    std::string text;               // UTF-8, what the cell shows
    std::optional<Color> color;     // from a [Red]/[Color N] section prefix (Color N resolved with the default palette)
    std::optional<char32_t> fill;   // the character of a "*x" repeat, to be repeated to fill the cell width
    bool isDateOrTime = false;      // useful for alignment decisions
    std::size_t fillOffset = 0;     // byte offset in `text` where the repeated `fill` goes
};

}  // namespace kx::workbook
