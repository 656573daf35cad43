#pragma once
// Metafile pictures drawn as vectors, so that their lines stay sharp and their text prints as
// text that a reader of the PDF can find.
#include "workbook/model/geometry.h"
#include "workbook/model/model.h"
#include "workbook/pictures/picture_surface.h"

namespace kx::workbook {

// A picture surface that carries the metafile's drawing, ready to draw onto any page; its
// extents are the metafile's frame. Nothing for a metafile whose records do not hold
// together, that cannot be converted, or whose frame is empty or absurdly large.
SurfacePtr renderMetafile(const Picture& picture);

// Draws a surface made by renderMetafile into the box, its frame stretched to the box, and
// says true; false for any other surface. The drawing goes straight onto the page rather than
// through the surface, since text replayed from a recording would come out as outlines.
bool paintMetafile(cairo_t* cr, cairo_surface_t* picture, const Box& box);

}  // namespace kx::workbook
