#pragma once
// Pango layouts for drawing on cairo with unhinted metrics, so that text measures the same at
// every scale and on every output.
#include <pango/pangocairo.h>

#include <memory>

namespace kx::workbook {

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;

// A layout for the current transformation of cr.
LayoutPtr makeLayout(cairo_t* cr);

}  // namespace kx::workbook

namespace kx::workbook {

// A layout for measuring text away from any page, with the same metrics as makeLayout.
class MeasuringLayout {
public:
    MeasuringLayout();
    ~MeasuringLayout();
    MeasuringLayout(const MeasuringLayout&) = delete;
    MeasuringLayout& operator=(const MeasuringLayout&) = delete;
    PangoLayout* get() const { return layout_.get(); }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    LayoutPtr layout_;
};

}  // namespace kx::workbook
