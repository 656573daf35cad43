#include "workbook/canvas/shaped_line.h"

#include <pango/pangocairo.h>

#include "workbook/canvas/hidden_glyphs.h"

namespace kx::workbook {
namespace {

// Kana, Hangul, the unified ideographs, their punctuation and full-width forms.
bool isEastAsian(gunichar c)
{
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0x31F0 && c <= 0x31FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFFEE);
}

// Left-to-right scripts, punctuation and symbols. Whatever else a layout treats apart stays
// out: right-to-left text, line and paragraph breaks, tab stops, other controls and the marks
// that steer the direction of the text.
bool isPlainCharacter(gunichar c)
{
    if (c < 0x0590)
        return !g_unichar_iscntrl(c);
    return (c >= 0x1E00 && c < 0x2000) || (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205E) ||
           (c >= 0x20A0 && c <= 0x20CF) || (c >= 0x2100 && c <= 0x214F) || isEastAsian(c);
}

bool isOneSimpleLine(const std::string& text)
{
    if (text.empty() || !g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        return false;
    for (const char* c = text.c_str(); *c; c = g_utf8_next_char(c))
        if (!isPlainCharacter(g_utf8_get_char(c)))
            return false;
    return true;
}

void freeItems(GList* items)
{
    g_list_free_full(items, [](gpointer item) { pango_item_free(static_cast<PangoItem*>(item)); });
}

// Without right-to-left characters every direction a layout could take gives level 0.
PangoItem* itemize(PangoContext* context, const std::string& text, PangoAttrList* attributes, LineItems& known)
{
    if (PangoItem* item = known.itemFor(text))
        return item;
    GList* items = pango_itemize(context, text.data(), 0, static_cast<int>(text.size()), attributes, nullptr);
    auto* item = items ? static_cast<PangoItem*>(items->data) : nullptr;
    if (!item || items->next || item->analysis.level % 2) {
        freeItems(items);
        return nullptr;
    }
    g_list_free(items);
    known.learn(text, *item);
    return item;
}

}  // namespace

std::unique_ptr<ShapedLine> ShapedLine::shape(PangoContext* context, const std::string& text, PangoAttrList* attributes,
                                              LineItems& known)
{
    if (!isOneSimpleLine(text))
        return nullptr;
    PangoItem* item = itemize(context, text, attributes, known);
    if (!item)
        return nullptr;
    const int length = static_cast<int>(text.size());
    PangoGlyphString* glyphs = pango_glyph_string_new();
    const PangoShapeFlags flags =
        pango_context_get_round_glyph_positions(context) ? PANGO_SHAPE_ROUND_POSITIONS : PANGO_SHAPE_NONE;
    pango_shape_item(item, text.data(), length, nullptr, glyphs, flags);
    for (int i = 0; i < glyphs->num_glyphs; ++i)
        if (glyphs->glyphs[i].geometry.y_offset != 0) {
            // Marks moved up or down would land a rounding away from where a layout puts them.
            pango_glyph_string_free(glyphs);
            pango_item_free(item);
            return nullptr;
        }
    return std::unique_ptr<ShapedLine>(new ShapedLine(text, item, glyphs));
}

ShapedLine::ShapedLine(std::string text, PangoItem* item, PangoGlyphString* glyphs)
    : text_(std::move(text)), run_{item, glyphs, 0, 0, 0}
{
    PangoRectangle run;
    pango_glyph_string_extents(glyphs, item->analysis.font, nullptr, &run);
    // A layout's single line starts at its top-left corner; the run's top lies above the baseline.
    logical_ = {0, 0, run.width, run.height};
    // Cairo keeps the current point in fixed point. A layout starts its line at the rounded
    // top-left corner and adds the baseline exactly; the glyphs carry it down to do the same.
    for (int i = 0; i < glyphs->num_glyphs; ++i)
        glyphs->glyphs[i].geometry.y_offset = -run.y;
}

ShapedLine::~ShapedLine()
{
    pango_glyph_string_free(run_.glyphs);
    pango_item_free(run_.item);
}

int ShapedLine::indexAt(double x) const
{
    if (x * PANGO_SCALE >= logical_.width)
        return static_cast<int>(g_utf8_find_prev_char(text_.data(), text_.data() + text_.size()) - text_.data());
    int index = 0, trailing = 0;
    pango_glyph_string_x_to_index(run_.glyphs, const_cast<char*>(text_.data()), static_cast<int>(text_.size()),
                                  &run_.item->analysis, static_cast<int>(x * PANGO_SCALE), &index, &trailing);
    return index;
}

// Pango units from the paragraph's left edge, as a layout aligns its line.
int ShapedLine::alignedStart(const Paragraph& paragraph) const
{
    if (paragraph.width <= 0 || paragraph.alignment == PANGO_ALIGN_LEFT)
        return 0;
    if (paragraph.alignment == PANGO_ALIGN_RIGHT)
        return paragraph.width - logical_.width;
    const int start = (paragraph.width - logical_.width) / 2;
    // Whole points stay whole, as a layout keeps them.
    return ((paragraph.width | logical_.width) & (PANGO_SCALE - 1)) == 0 ? PANGO_UNITS_ROUND(start) : start;
}

void ShapedLine::draw(cairo_t* cr, double x, double y, const Paragraph& paragraph) const
{
    cairo_move_to(cr, x, y);
    const int start = alignedStart(paragraph);
    if (start == 0) {
        auto* run = const_cast<PangoGlyphItem*>(&run_);
        HiddenGlyphs hidden(cr, run);
        pango_cairo_show_glyph_item(cr, text_.c_str(), run);
        return;
    }
    // Each glyph carries the start, as a layout's line carries it from the paragraph's edge.
    PangoGlyphString* moved = pango_glyph_string_copy(run_.glyphs);
    for (int i = 0; i < moved->num_glyphs; ++i)
        moved->glyphs[i].geometry.x_offset += start;
    PangoGlyphItem run{run_.item, moved, 0, 0, 0};
    {
        HiddenGlyphs hidden(cr, &run);
        pango_cairo_show_glyph_item(cr, text_.c_str(), &run);
    }
    pango_glyph_string_free(moved);
}

}  // namespace kx::workbook
