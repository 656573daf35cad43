#include "workbook/canvas/font_description.h"

#include <array>
#include <string_view>

namespace kx::workbook {

std::string substituteFamily(const std::string& name)
{
    // Windows names some fonts per character set ("Arial Tur", "Times New Roman Cyr") and maps them
    // back to the font itself; fontconfig knows only the plain names.
    static constexpr std::array<std::string_view, 8> charsetSuffixes{" CE", " Cyr", " Greek", " Tur", " Baltic",
                                                                     " (Hebrew)", " (Arabic)", " (Vietnamese)"};
    std::string family = name.empty() ? "Arial" : name;
    for (std::string_view suffix : charsetSuffixes)
        if (family.size() > suffix.size() && family.ends_with(suffix)) {
            family.resize(family.size() - suffix.size());
            break;
        }
    // Screen fonts of the same widths as Arial, which fontconfig would replace by a wider font.
    if (family == "MS Sans Serif" || family == "Microsoft Sans Serif" || family == "Tahoma")
        return "Arial";
    if (family == "MS Serif")
        return "Times New Roman";
    return family;
}

FontDescriptionPtr describeFont(const Font& font, double size)
{
    FontDescriptionPtr description(pango_font_description_new());
    pango_font_description_set_family(description.get(), substituteFamily(font.name).c_str());
    pango_font_description_set_weight(description.get(), font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description.get(), font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description.get(), size * PANGO_SCALE);
    return description;
}

}  // namespace kx::workbook
