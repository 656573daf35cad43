#pragma once
// Pictures of the workbook's store as cairo image surfaces.
#include <cairo.h>

#include <memory>

#include "workbook/model.h"

namespace kx::workbook {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// Nothing for unsupported or undecodable pictures. A JPEG keeps its encoded bytes attached,
// so that PostScript output embeds them as they are instead of the decoded pixels.
SurfacePtr decodePicture(const Picture& picture);

}  // namespace kx::workbook
