#include "workbook/canvas/hidden_glyphs.h"

#include <pango/pangocairo.h>

#include <optional>

namespace kx::workbook {

namespace {

std::optional<HiddenGlyphs::View> viewOf(cairo_t* cr)
{
    if (!cairo_has_current_point(cr))
        return std::nullopt;
    HiddenGlyphs::View view{};
    cairo_get_current_point(cr, &view.x, &view.y);
    cairo_clip_extents(cr, &view.left, &view.top, &view.right, &view.bottom);
    return view;
}

double points(int pangoUnits)
{
    return static_cast<double>(pangoUnits) / PANGO_SCALE;
}

bool shows(const HiddenGlyphs::View& view, double left, double top, const PangoRectangle& size)
{
    return left + points(size.width) > view.left && left < view.right && top + points(size.height) > view.top &&
           top < view.bottom;
}

bool showsWhole(const HiddenGlyphs::View& view, double left, double top, const PangoRectangle& size)
{
    return left >= view.left && top >= view.top && left + points(size.width) <= view.right &&
           top + points(size.height) <= view.bottom;
}

}  // namespace

HiddenGlyphs::HiddenGlyphs(cairo_t* cr, PangoLayout* layout)
{
    const std::optional<View> view = viewOf(cr);
    PangoRectangle ink;
    pango_layout_get_extents(layout, &ink, nullptr);
    if (!view || showsWhole(*view, view->x + points(ink.x), view->y + points(ink.y), ink))
        return;
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
        auto* run = static_cast<PangoGlyphItem*>(pango_layout_iter_get_run_readonly(iter));
        if (!run)
            continue;
        PangoRectangle logical;
        pango_layout_iter_get_run_extents(iter, nullptr, &logical);
        blank(*view, run, view->x + points(logical.x), view->y + points(pango_layout_iter_get_baseline(iter)));
    } while (pango_layout_iter_next_run(iter));
    pango_layout_iter_free(iter);
}

HiddenGlyphs::HiddenGlyphs(cairo_t* cr, PangoGlyphItem* run)
{
    if (const std::optional<View> view = viewOf(cr))
        blank(*view, run, view->x, view->y);
}

HiddenGlyphs::~HiddenGlyphs()
{
    for (auto& [glyph, id] : blanked_)
        glyph->glyph = id;
}

void HiddenGlyphs::blank(const View& view, PangoGlyphItem* run, double x, double baseline)
{
    PangoGlyphString* glyphs = run->glyphs;
    PangoFont* font = run->item->analysis.font;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
        PangoGlyphInfo& info = glyphs->glyphs[i];
        const double originX = x + points(info.geometry.x_offset);
        x += points(info.geometry.width);
        if (info.glyph == PANGO_GLYPH_EMPTY)
            continue;
        PangoRectangle ink;
        pango_font_get_glyph_extents(font, info.glyph, &ink, nullptr);
        if (shows(view, originX + points(ink.x), baseline + points(info.geometry.y_offset + ink.y), ink))
            continue;
        blanked_.emplace_back(&info, info.glyph);
        info.glyph = PANGO_GLYPH_EMPTY;
    }
}

void showVisibleLayout(cairo_t* cr, PangoLayout* layout)
{
    HiddenGlyphs hidden(cr, layout);
    pango_cairo_show_layout(cr, layout);
}

}  // namespace kx::workbook
