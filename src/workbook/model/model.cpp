#include "workbook/model/model.h"

#include <algorithm>
#include <array>

#include "workbook/model/builtin_formats.h"

namespace kx::workbook {

const Row* Sheet::row(uint32_t index) const
{
    auto found = std::lower_bound(rows.begin(), rows.end(), index,
                                  [](const Row& r, uint32_t i) { return r.index < i; });
    return found != rows.end() && found->index == index ? &*found : nullptr;
}

const Cell* Sheet::cell(uint32_t rowIndex, uint16_t columnIndex) const
{
    const Row* r = row(rowIndex);
    if (!r)
        return nullptr;
    auto found = std::lower_bound(r->cells.begin(), r->cells.end(), columnIndex,
                                  [](const Cell& c, uint16_t i) { return c.column < i; });
    return found != r->cells.end() && found->column == columnIndex ? &*found : nullptr;
}

const ColumnInfo* Sheet::column(uint16_t index) const
{
    auto found = std::lower_bound(columns.begin(), columns.end(), index,
                                  [](const ColumnInfo& c, uint16_t i) { return c.lastColumn < i; });
    return found != columns.end() && found->firstColumn <= index ? &*found : nullptr;
}

const DataBar* Sheet::dataBar(uint32_t rowIndex, uint16_t columnIndex) const
{
    const auto key = [](const CellRef& at) { return std::pair{at.row, at.column}; };
    auto found = std::lower_bound(dataBars.begin(), dataBars.end(), std::pair{rowIndex, columnIndex},
                                  [&](const DataBar& bar, const auto& wanted) { return key(bar.cell) < wanted; });
    return found != dataBars.end() && key(found->cell) == std::pair{rowIndex, columnIndex} ? &*found : nullptr;
}

Color Workbook::color(uint16_t index, Color automatic) const
{
    // Indexes 0-7 are fixed; 8-63 come from the palette; from kFirstExtraColor those that
    // conditional formats work out; the rest are system colours.
    static constexpr std::array<Color, 8> fixed{{{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 255, 0},
                                                 {0, 0, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}}};
    if (index < 8)
        return fixed[index];
    if (index < 64 && static_cast<size_t>(index - 8) < palette.size())
        return palette[index - 8];
    if (index >= kFirstExtraColor && static_cast<size_t>(index - kFirstExtraColor) < extraColors.size())
        return extraColors[index - kFirstExtraColor];
    return automatic;
}

const std::string& Workbook::numberFormatCode(uint16_t id) const
{
    for (const NumberFormat& format : numberFormats)
        if (format.id == id)
            return format.code;
    return builtinNumberFormat(id);
}

}  // namespace kx::workbook
