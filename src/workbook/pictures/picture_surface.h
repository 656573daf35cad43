#pragma once
// A cairo surface owned by the code that made it.
#include <cairo.h>

#include <memory>

namespace kx::workbook {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

}  // namespace kx::workbook
