#pragma once
// Opaque pictures carry the PostScript that draws them, their pixels compressed once when the
// picture is decoded. Cairo's PostScript output would otherwise compress the pixels again every
// time a page shows the picture (only to measure them) and once more for the copy it keeps.
#include <cairo.h>

#include <string>

namespace kx::workbook {

// The PostScript drawing an opaque image surface into the box from (0, 0) to its width and
// height, y upwards; the pixels go in as colour, grey or black and white, whichever holds them,
// compressed and ASCII85-encoded after the image operator. Empty for a surface with transparent
// pixels or a format other than RGB24 and ARGB32: cairo prints those in its own way. The
// PostScript smooths the picture as cairo does for its default filter.
std::string imagePostScript(cairo_surface_t* image);

}  // namespace kx::workbook
