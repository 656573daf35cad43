#include "workbook/font_description.h"

namespace kx::workbook {

FontDescriptionPtr describeFont(const Font& font, double size)
{
    FontDescriptionPtr description(pango_font_description_new());
    pango_font_description_set_family(description.get(), font.name.empty() ? "Arial" : font.name.c_str());
    pango_font_description_set_weight(description.get(), font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description.get(), font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description.get(), size * PANGO_SCALE);
    return description;
}

}  // namespace kx::workbook
