#include "workbook/format/cell_content.h"

#include "workbook/format/number_format.h"

namespace kx::workbook {
namespace {

HorizontalAlign resolvedAlign(HorizontalAlign stored, HorizontalAlign general)
{
    return stored == HorizontalAlign::General ? general : stored;
}

}  // namespace

std::string errorText(uint8_t code)
{
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#N/A";
    }
}

const CellFormat& cellFormat(const Workbook& workbook, uint16_t index)
{
    static const CellFormat defaultFormat;
    return index < workbook.formats.size() ? workbook.formats[index] : defaultFormat;
}

std::optional<CellContent> cellContent(const Workbook& workbook, const Cell& cell, int generalMaxChars)
{
    const CellFormat& format = cellFormat(workbook, cell.format);
    const std::string& code = workbook.numberFormatCode(format.numberFormat);
    CellContent content;
    switch (cell.kind) {
    case CellKind::Blank:
        return std::nullopt;
    case CellKind::Number: {
        FormattedValue value = formatNumber(cell.number, code, workbook.dateSystem1904, generalMaxChars);
        content.text = std::move(value.text);
        content.color = value.color;
        content.fill = value.fill;
        content.fillOffset = value.fillOffset;
        content.numeric = true;
        content.align = resolvedAlign(format.horizontal, HorizontalAlign::Right);
        break;
    }
    case CellKind::Text: {
        static const RichText missing;
        const RichText& text = cell.text < workbook.strings.size() ? workbook.strings[cell.text] : missing;
        FormattedValue value = formatText(text.utf8, code);
        // Runs index the stored text; a format that adds literal text makes them meaningless.
        if (value.text == text.utf8 && !text.runs.empty())
            content.rich = &text;
        content.text = std::move(value.text);
        content.color = value.color;
        content.fill = value.fill;
        content.fillOffset = value.fillOffset;
        content.align = resolvedAlign(format.horizontal, HorizontalAlign::Left);
        break;
    }
    case CellKind::Boolean:
        content.text = cell.number != 0 ? "TRUE" : "FALSE";
        content.align = resolvedAlign(format.horizontal, HorizontalAlign::Center);
        break;
    case CellKind::Error:
        content.text = errorText(cell.number >= 0 && cell.number < 256 ? static_cast<uint8_t>(cell.number) : 0x2A);
        content.align = resolvedAlign(format.horizontal, HorizontalAlign::Center);
        break;
    }
    return content;
}

}  // namespace kx::workbook
