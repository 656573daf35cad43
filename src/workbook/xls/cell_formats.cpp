#include "workbook/xls/cell_formats.h"

namespace kx::workbook::detail {

BorderStyle borderStyle(uint32_t bits)
{
    const auto value = static_cast<uint8_t>(bits & 0x0F);
    return value <= static_cast<uint8_t>(BorderStyle::SlantDashDot) ? static_cast<BorderStyle>(value)
                                                                   : BorderStyle::Thin;
}

namespace {

HorizontalAlign horizontalAlign(uint8_t value)
{
    return value <= static_cast<uint8_t>(HorizontalAlign::Distributed) ? static_cast<HorizontalAlign>(value)
                                                                      : HorizontalAlign::General;
}

VerticalAlign verticalAlign(uint8_t value)
{
    return value <= static_cast<uint8_t>(VerticalAlign::Distributed) ? static_cast<VerticalAlign>(value)
                                                                    : VerticalAlign::Bottom;
}

}  // namespace

CellFormat readXf(RecordReader& reader)
{
    CellFormat format;
    format.fontIndex = reader.u16();
    format.numberFormat = reader.u16();
    reader.skip(2);  // style flag, parent style, protection
    const uint8_t alignment = reader.u8();
    format.horizontal = horizontalAlign(alignment & 0x07);
    format.wrap = (alignment & 0x08) != 0;
    format.vertical = verticalAlign(alignment >> 4 & 0x07);
    format.rotation = reader.u8();
    const uint8_t indentAndShrink = reader.u8();
    format.indent = indentAndShrink & 0x0F;
    format.shrinkToFit = (indentAndShrink & 0x10) != 0;
    reader.skip(1);  // the "used" marks: they govern later edits of the style, not what shows
    const uint32_t borders = reader.u32();
    const uint32_t moreBorders = reader.u32();
    const uint16_t fill = reader.u16();
    format.left = {borderStyle(borders), static_cast<uint16_t>(borders >> 16 & 0x7F)};
    format.right = {borderStyle(borders >> 4), static_cast<uint16_t>(borders >> 23 & 0x7F)};
    format.top = {borderStyle(borders >> 8), static_cast<uint16_t>(moreBorders & 0x7F)};
    format.bottom = {borderStyle(borders >> 12), static_cast<uint16_t>(moreBorders >> 7 & 0x7F)};
    format.fillPattern = static_cast<uint8_t>(moreBorders >> 26 & 0x3F);
    format.fillForeground = fill & 0x7F;
    format.fillBackground = fill >> 7 & 0x7F;
    return format;
}

uint16_t fontIndexFromFile(uint16_t stored, size_t fontCount)
{
    const uint16_t index = stored > 4 ? static_cast<uint16_t>(stored - 1) : stored;
    return stored == 4 || index >= fontCount ? 0 : index;
}

std::vector<CellFormat> resolveCellFormats(std::vector<CellFormat> stored, size_t fontCount)
{
    for (CellFormat& format : stored)
        format.fontIndex = fontIndexFromFile(format.fontIndex, fontCount);
    if (stored.empty())
        stored.emplace_back();
    return stored;
}

}  // namespace kx::workbook::detail
