#pragma once
// Pango layouts for drawing on cairo with unhinted metrics, so that text measures the same at
// every scale and on every output.
#include <cairo-ps.h>
#include <pango/pangocairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

namespace kx::workbook {

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;

// A layout for the current transformation of cr.
LayoutPtr makeLayout(cairo_t* cr);

// The size of the layout's logical rectangle, in points.
struct LayoutSize {
    double width = 0, height = 0;
};
LayoutSize logicalSize(PangoLayout* layout);

// A layout for measuring text away from any page, with the same metrics as makeLayout.
class MeasuringLayout {
public:
    MeasuringLayout();
    // The font options of the target's kind of surface; takes the surface over.
    explicit MeasuringLayout(cairo_surface_t* target);
    // With the font options of PostScript output, so that text measures as it prints.
    static MeasuringLayout forPostScript();
    ~MeasuringLayout();
    MeasuringLayout(const MeasuringLayout&) = delete;
    MeasuringLayout& operator=(const MeasuringLayout&) = delete;
    PangoLayout* get() const { return layout_.get(); }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    LayoutPtr layout_;
};

// How a layout breaks and aligns its lines.
struct Paragraph {
    int width = -1;  // pango units; -1: a line per paragraph
    PangoAlignment alignment = PANGO_ALIGN_LEFT;
    bool justify = false;
    bool operator==(const Paragraph&) const = default;
};

// Past this many kept layouts the cache starts again, so that a sheet of mostly different texts
// does not hold every one of them to the end of the print.
constexpr size_t maximumKeptLayouts = 20000;

// Laid-out texts kept for the whole print: a text that many cells show in the same font and
// paragraph is shaped once. The layouts belong to a context of their own with makeLayout's
// metrics and are drawn as they are at any scale; a caller that changes one (or its context,
// as pango_cairo_update_layout does) must draw a copy instead.
class LayoutCache {
public:
    struct Key {
        std::string text;
        uint16_t fontIndex = 0;
        const void* runs = nullptr;  // the rich text whose runs the layout shows, by identity
        double shrink = 1;
        Paragraph paragraph;
        bool operator==(const Key&) const = default;
    };

    // The kept layout for key; when there is none, `prepare` sets the text and its attributes on
    // a new one, which then takes the key's paragraph settings.
    PangoLayout* layout(const Key& key, const std::function<void(PangoLayout*)>& prepare);

private:
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };

    // Glyphs that cairo measures in this context's fonts, for clipping them on the page, must
    // measure as in the page's own fonts, so the context is one of PostScript output.
    MeasuringLayout context_ = MeasuringLayout::forPostScript();
    std::unordered_map<Key, LayoutPtr, KeyHash> layouts_;
};

// A new layout in `context` showing what `layout` shows, for drawing it where its own context
// must not change.
LayoutPtr copyLayout(PangoLayout* layout, PangoContext* context);

}  // namespace kx::workbook
