#include "workbook/render/text_spill.h"

#include "workbook/canvas/pango_layout.h"

namespace kx::workbook {
namespace {

// Shaped or laid out as the cell will print it, so that the page reuses the result.
double textWidth(CellFonts& fonts, const CellFormat& format, const CellContent& content)
{
    if (!content.rich)
        if (const auto line = fonts.line(content.text, format.fontIndex, 1))
            return line->width();
    return logicalSize(fonts.layout(content.text, format.fontIndex, content.rich, 1, {})).width;
}

}  // namespace

std::vector<CellRange> textSpills(const Workbook& workbook, const Sheet& sheet, const SheetMetrics& metrics,
                                  CellFonts& fonts)
{
    return spillRanges(workbook, sheet, metrics, [&](const CellFormat& format, const CellContent& content) {
        return textWidth(fonts, format, content);
    });
}

}  // namespace kx::workbook
