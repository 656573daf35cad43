#include "workbook/render/header_footer_painter.h"

#include "workbook/canvas/cell_fonts.h"
#include "workbook/canvas/font_description.h"
#include "workbook/canvas/pango_layout.h"
#include "workbook/canvas/hidden_glyphs.h"

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

}  // namespace

void HeaderFooterPainter::paint(cairo_t* cr, const HeaderSections& sections, const HeaderValues& values,
                                const PageFrame& frame, bool footer, double scale)
{
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int section = LeftSection; section <= RightSection; ++section) {
        Key key{.scale = scale,
                .alignment = section == LeftSection     ? PANGO_ALIGN_LEFT
                             : section == CenterSection ? PANGO_ALIGN_CENTER
                                                        : PANGO_ALIGN_RIGHT};
        for (const HeaderRun& run : sections[section]) {
            key.text += fieldText(run, values);
            key.runs.emplace_back(static_cast<unsigned>(key.text.size()), run.style);
        }
        if (key.text.empty())
            continue;
        PangoLayout* layout = this->layout(std::move(key));
        const auto [width, height] = logicalSize(layout);
        const double x = section == LeftSection     ? frame.left
                         : section == CenterSection ? (frame.pageWidth - width) / 2
                                                    : frame.left + frame.contentWidth - width;
        cairo_move_to(cr, x, footer ? frame.footerBottom - height : frame.headerTop);
        showVisibleLayout(cr, layout);
    }
}

PangoLayout* HeaderFooterPainter::layout(Key key)
{
    if (auto found = layouts_.find(key); found != layouts_.end())
        return found->second.get();
    // A section numbering the pages is new on every page: a long print does not keep them all.
    if (layouts_.size() >= maximumKeptLayouts)
        layouts_.clear();
    AttrListPtr attributes(pango_attr_list_new());
    addNoLigatures(attributes.get());
    unsigned start = 0;
    for (const auto& [end, style] : key.runs) {
        addStyle(attributes.get(), style, key.scale, start, end);
        start = end;
    }
    LayoutPtr made(pango_layout_new(pango_layout_get_context(context_.get())));
    pango_layout_set_text(made.get(), key.text.data(), static_cast<int>(key.text.size()));
    pango_layout_set_attributes(made.get(), attributes.get());
    pango_layout_set_alignment(made.get(), key.alignment);
    return layouts_.emplace(std::move(key), std::move(made)).first->second.get();
}

}  // namespace kx::workbook
