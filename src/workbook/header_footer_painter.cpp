#include "workbook/header_footer_painter.h"

#include "workbook/cell_fonts.h"
#include "workbook/font_description.h"
#include "workbook/pango_layout.h"

namespace kx::workbook {
namespace {

constexpr double defaultSize = 10;
constexpr const char* defaultFamily = "Arial";

void addStyle(PangoAttrList* list, const HeaderStyle& style, double scale, unsigned start, unsigned end)
{
    const auto add = [&](PangoAttribute* attribute) {
        attribute->start_index = start;
        attribute->end_index = end;
        pango_attr_list_insert(list, attribute);
    };
    const double size = style.size.value_or(defaultSize) * scale;
    const bool script = style.superscript || style.subscript;
    add(pango_attr_family_new(style.fontName ? substituteFamily(*style.fontName).c_str() : defaultFamily));
    add(pango_attr_size_new_absolute(static_cast<int>((script ? size * 2 / 3 : size) * PANGO_SCALE)));
    add(pango_attr_weight_new(style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL));
    add(pango_attr_style_new(style.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL));
    if (style.underline || style.doubleUnderline)
        add(pango_attr_underline_new(style.doubleUnderline ? PANGO_UNDERLINE_DOUBLE : PANGO_UNDERLINE_SINGLE));
    if (style.strikeout)
        add(pango_attr_strikethrough_new(TRUE));
    if (script)
        add(pango_attr_rise_new(static_cast<int>(size / 3 * (style.superscript ? 1 : -1) * PANGO_SCALE)));
}

// Lays out one section; false when it has no text.
bool layoutSection(PangoLayout* layout, const std::vector<HeaderRun>& runs, const HeaderValues& values, double scale)
{
    std::string text;
    AttrListPtr attributes(pango_attr_list_new());
    addNoLigatures(attributes.get());
    for (const HeaderRun& run : runs) {
        const auto start = static_cast<unsigned>(text.size());
        text += fieldText(run, values);
        addStyle(attributes.get(), run.style, scale, start, static_cast<unsigned>(text.size()));
    }
    if (text.empty())
        return false;
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    pango_layout_set_attributes(layout, attributes.get());
    return true;
}

}  // namespace

void paintHeaderFooter(cairo_t* cr, const HeaderSections& sections, const HeaderValues& values,
                       const PageFrame& frame, bool footer, double scale)
{
    LayoutPtr layout = makeLayout(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int section = LeftSection; section <= RightSection; ++section) {
        if (!layoutSection(layout.get(), sections[section], values, scale))
            continue;
        pango_layout_set_alignment(layout.get(), section == LeftSection     ? PANGO_ALIGN_LEFT
                                                 : section == CenterSection ? PANGO_ALIGN_CENTER
                                                                            : PANGO_ALIGN_RIGHT);
        const auto [width, height] = logicalSize(layout.get());
        const double x = section == LeftSection     ? frame.left
                         : section == CenterSection ? (frame.pageWidth - width) / 2
                                                    : frame.left + frame.contentWidth - width;
        cairo_move_to(cr, x, footer ? frame.footerBottom - height : frame.headerTop);
        pango_cairo_show_layout(cr, layout.get());
    }
}

}  // namespace kx::workbook
