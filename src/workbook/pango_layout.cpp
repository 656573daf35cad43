#include "workbook/pango_layout.h"

namespace kx::workbook {

LayoutPtr makeLayout(cairo_t* cr)
{
    LayoutPtr layout(pango_cairo_create_layout(cr));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    PangoContext* context = pango_layout_get_context(layout.get());
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    // Whole-unit glyph positions would round every advance to a whole point on paper.
    pango_context_set_round_glyph_positions(context, FALSE);
    pango_layout_context_changed(layout.get());
    return layout;
}

}  // namespace kx::workbook

namespace kx::workbook {

MeasuringLayout::MeasuringLayout()
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1)), cr_(cairo_create(surface_)), layout_(makeLayout(cr_))
{
}

MeasuringLayout::~MeasuringLayout()
{
    layout_.reset();
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

}  // namespace kx::workbook
