#include "workbook/shaped_line.h"

#include <pango/pangocairo.h>

namespace kx::workbook {
namespace {

// Left-to-right scripts, punctuation and symbols. Whatever else a layout treats apart stays
// out: right-to-left text, line and paragraph breaks, tab stops, other controls and the marks
// that steer the direction of the text.
bool isPlainCharacter(gunichar c)
{
    if (c < 0x0590)
        return !g_unichar_iscntrl(c);
    return (c >= 0x1E00 && c < 0x2000) || (c >= 0x2010 && c <= 0x2027) || (c >= 0x2030 && c <= 0x205E) ||
           (c >= 0x20A0 && c <= 0x20CF) || (c >= 0x2100 && c <= 0x214F);
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

void ShapedLine::draw(cairo_t* cr, double x, double y) const
{
    cairo_move_to(cr, x, y);
    pango_cairo_show_glyph_item(cr, text_.c_str(), const_cast<PangoGlyphItem*>(&run_));
}

}  // namespace kx::workbook
