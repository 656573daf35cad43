#include "workbook/canvas/cell_fonts.h"

#include <algorithm>

#include "workbook/canvas/font_metrics.h"

namespace kx::workbook {
namespace {

constexpr Color black{0, 0, 0};

PangoUnderline pangoUnderline(Underline underline)
{
    switch (underline) {
    case Underline::None: return PANGO_UNDERLINE_NONE;
    case Underline::Single: return PANGO_UNDERLINE_SINGLE;
    case Underline::Double: return PANGO_UNDERLINE_DOUBLE;
    case Underline::SingleAccounting: return PANGO_UNDERLINE_SINGLE_LINE;
    case Underline::DoubleAccounting: return PANGO_UNDERLINE_DOUBLE_LINE;
    }
    return PANGO_UNDERLINE_NONE;
}

void insert(PangoAttrList* list, PangoAttribute* attribute, unsigned start, unsigned end)
{
    attribute->start_index = start;
    attribute->end_index = end;
    pango_attr_list_insert(list, attribute);
}

}  // namespace

void addNoLigatures(PangoAttrList* list)
{
    pango_attr_list_insert(list, pango_attr_font_features_new("liga=0, clig=0, dlig=0"));
}

void addNoHyphens(PangoAttrList* list)
{
    pango_attr_list_insert(list, pango_attr_insert_hyphens_new(FALSE));
}

size_t utf8OffsetOfUtf16(const std::string& text, uint32_t utf16Units)
{
    size_t offset = 0;
    uint32_t units = 0;
    while (offset < text.size() && units < utf16Units) {
        const auto lead = static_cast<unsigned char>(text[offset]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        units += length == 4 ? 2 : 1;
        offset = std::min(offset + length, text.size());
    }
    return offset;
}

CellFonts::CellFonts(const Workbook& workbook)
    : workbook_(workbook), descriptions_(workbook.fonts.size() + 1), screenWidthRatios_(workbook.fonts.size() + 1, 0)
{
}

const Font& CellFonts::font(uint16_t index) const
{
    static const Font defaultFont;
    if (index < workbook_.fonts.size())
        return workbook_.fonts[index];
    return workbook_.fonts.empty() ? defaultFont : workbook_.fonts.front();
}

const PangoFontDescription* CellFonts::description(uint16_t index)
{
    const size_t slot = std::min<size_t>(index, workbook_.fonts.size());
    if (!descriptions_[slot]) {
        const Font& chosen = font(index);
        const double size = chosen.heightTwips / kTwipsPerPoint;
        descriptions_[slot] = describeFont(chosen, chosen.script == Script::Normal ? size : size * 2 / 3);
    }
    return descriptions_[slot].get();
}

double CellFonts::screenWidthRatio(uint16_t index)
{
    double& ratio = screenWidthRatios_[std::min<size_t>(index, workbook_.fonts.size())];
    if (ratio == 0)
        ratio = kx::workbook::screenWidthRatio(font(index));
    return ratio;
}

Color CellFonts::color(uint16_t index) const
{
    return workbook_.color(font(index).colorIndex, black);
}

void CellFonts::addRunAttributes(PangoAttrList* list, uint16_t fontIndex, unsigned start, unsigned end, bool withFont)
{
    const Font& chosen = font(fontIndex);
    if (withFont) {
        insert(list, pango_attr_font_desc_new(description(fontIndex)), start, end);
        const Color c = color(fontIndex);
        insert(list, pango_attr_foreground_new(static_cast<guint16>(c.red * 257), static_cast<guint16>(c.green * 257),
                                               static_cast<guint16>(c.blue * 257)),
               start, end);
    }
    if (chosen.underline != Underline::None)
        insert(list, pango_attr_underline_new(pangoUnderline(chosen.underline)), start, end);
    if (chosen.strikeout)
        insert(list, pango_attr_strikethrough_new(TRUE), start, end);
    if (chosen.script != Script::Normal) {
        const double rise = chosen.heightTwips / kTwipsPerPoint / 3 * (chosen.script == Script::Superscript ? 1 : -1);
        insert(list, pango_attr_rise_new(static_cast<int>(rise * PANGO_SCALE)), start, end);
    }
}

AttrListPtr CellFonts::attributes(uint16_t fontIndex, const std::string& text, const RichText* rich)
{
    AttrListPtr list(pango_attr_list_new());
    addNoLigatures(list.get());
    addNoHyphens(list.get());
    const auto size = static_cast<unsigned>(text.size());
    addRunAttributes(list.get(), fontIndex, 0, size, false);
    if (!rich)
        return list;
    for (size_t i = 0; i < rich->runs.size(); ++i) {
        const auto start = static_cast<unsigned>(utf8OffsetOfUtf16(text, rich->runs[i].firstChar));
        const auto end = i + 1 < rich->runs.size()
                             ? static_cast<unsigned>(utf8OffsetOfUtf16(text, rich->runs[i + 1].firstChar))
                             : size;
        if (start < end)
            addRunAttributes(list.get(), rich->runs[i].fontIndex, start, end, true);
    }
    return list;
}

AttrListPtr CellFonts::layoutAttributes(uint16_t fontIndex, const std::string& text, const RichText* rich,
                                        double shrink)
{
    AttrListPtr list = attributes(fontIndex, text, rich);
    if (shrink < 1)
        pango_attr_list_insert(list.get(), pango_attr_scale_new(shrink));
    return list;
}

PangoLayout* CellFonts::layout(const std::string& text, uint16_t fontIndex, const RichText* rich, double shrink,
                              const Paragraph& paragraph)
{
    return layouts_.layout({text, fontIndex, rich, shrink, paragraph}, [&](PangoLayout* made) {
        pango_layout_set_font_description(made, description(fontIndex));
        pango_layout_set_attributes(made, layoutAttributes(fontIndex, text, rich, shrink).get());
        pango_layout_set_text(made, text.data(), static_cast<int>(text.size()));
    });
}

// Decorations and a raised baseline are drawn by the layout's renderer from its attributes. The
// attributes of other fonts do not depend on the text.
bool CellFonts::drawsOnlyGlyphs(uint16_t fontIndex) const
{
    const Font& chosen = font(fontIndex);
    return chosen.underline == Underline::None && !chosen.strikeout && chosen.script == Script::Normal;
}

size_t CellFonts::LineKeyHash::operator()(const LineKey& key) const
{
    return std::hash<std::string>()(key.text) ^ (std::hash<double>()(key.shrink) * 31 + key.fontIndex);
}

std::shared_ptr<const ShapedLine> CellFonts::line(const std::string& text, uint16_t fontIndex, double shrink)
{
    if (!drawsOnlyGlyphs(fontIndex))
        return nullptr;
    LineKey key{text, fontIndex, shrink};
    if (auto found = lines_.find(key); found != lines_.end())
        return found->second;
    PangoContext* context = pango_layout_get_context(lineContext_.get());
    if (lineFont_ != description(fontIndex)) {
        lineFont_ = description(fontIndex);
        pango_context_set_font_description(context, lineFont_);
    }
    LineFont& lineFont = lineFonts_[{fontIndex, shrink}];
    if (!lineFont.attributes)
        lineFont.attributes = layoutAttributes(fontIndex, text, nullptr, shrink);
    std::shared_ptr<const ShapedLine> shaped = ShapedLine::shape(context, text, lineFont.attributes.get(), lineFont.items);
    // Like the layouts, not every text of a large sheet is held to the end of the print.
    if (lines_.size() >= maximumKeptLayouts)
        lines_.clear();
    return lines_.emplace(std::move(key), std::move(shaped)).first->second;
}

}  // namespace kx::workbook
