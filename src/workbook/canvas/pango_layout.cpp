#include "workbook/canvas/pango_layout.h"

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

LayoutSize logicalSize(PangoLayout* layout)
{
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {static_cast<double>(logical.width) / PANGO_SCALE, static_cast<double>(logical.height) / PANGO_SCALE};
}

MeasuringLayout::MeasuringLayout() : MeasuringLayout(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1)) {}

MeasuringLayout::MeasuringLayout(cairo_surface_t* target)
    : surface_(target), cr_(cairo_create(surface_)), layout_(makeLayout(cr_))
{
}

MeasuringLayout MeasuringLayout::forPostScript()
{
    return MeasuringLayout(cairo_ps_surface_create_for_stream(nullptr, nullptr, 1, 1));
}

MeasuringLayout::~MeasuringLayout()
{
    layout_.reset();
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

namespace {

void applyParagraph(PangoLayout* layout, const Paragraph& paragraph)
{
    pango_layout_set_width(layout, paragraph.width);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, paragraph.alignment);
    pango_layout_set_justify(layout, paragraph.justify);
}

}  // namespace

size_t LayoutCache::KeyHash::operator()(const Key& key) const
{
    size_t hash = std::hash<std::string>()(key.text);
    const auto mix = [&hash](size_t value) { hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2); };
    mix(key.fontIndex);
    mix(std::hash<const void*>()(key.runs));
    mix(std::hash<double>()(key.shrink));
    mix(std::hash<int>()(key.paragraph.width));
    mix(static_cast<size_t>(key.paragraph.alignment) << 1 | key.paragraph.justify);
    return hash;
}

PangoLayout* LayoutCache::layout(const Key& key, const std::function<void(PangoLayout*)>& prepare)
{
    if (auto found = layouts_.find(key); found != layouts_.end())
        return found->second.get();
    if (layouts_.size() >= maximumKeptLayouts)
        layouts_.clear();
    LayoutPtr made(pango_layout_new(pango_layout_get_context(context_.get())));
    prepare(made.get());
    applyParagraph(made.get(), key.paragraph);
    return layouts_.emplace(key, std::move(made)).first->second.get();
}

LayoutPtr copyLayout(PangoLayout* layout, PangoContext* context)
{
    LayoutPtr copy(pango_layout_new(context));
    pango_layout_set_font_description(copy.get(), pango_layout_get_font_description(layout));
    pango_layout_set_attributes(copy.get(), pango_layout_get_attributes(layout));
    pango_layout_set_text(copy.get(), pango_layout_get_text(layout), -1);
    applyParagraph(copy.get(), {pango_layout_get_width(layout), pango_layout_get_alignment(layout),
                                static_cast<bool>(pango_layout_get_justify(layout))});
    return copy;
}

}  // namespace kx::workbook
