#pragma once
// Pictures of the workbook's store as cairo image surfaces.
#include <cairo.h>

#include <map>
#include <memory>

#include "workbook/model/model.h"
#include "workbook/pictures/picture_surface.h"

namespace kx::workbook {

// Nothing for unsupported or undecodable pictures. A JPEG keeps its encoded bytes attached,
// so that PostScript output embeds them as they are instead of the decoded pixels.
SurfacePtr decodePicture(const Picture& picture);

// The workbook's pictures, each decoded when a page first shows it and kept for the rest of the
// print. Each carries an identity of its own, so that PostScript output can write its pixels once
// and show them again on later pages. An opaque picture comes as a recording surface that
// paints the decoded image, the image carrying its own PostScript (see picture_postscript.h);
// pictureSize gives either kind's size in pixels.
struct PictureSize {
    double width = 0, height = 0;
};
PictureSize pictureSize(cairo_surface_t* picture);

class DecodedPictures {
public:
    // `warnings`, when given, hears once of each picture that prints blank.
    explicit DecodedPictures(const Workbook& workbook, LoadWarnings* warnings = nullptr)
        : workbook_(workbook), warnings_(warnings)
    {
    }
    // Nothing for an index past the store and for pictures decodePicture cannot decode.
    cairo_surface_t* surface(uint32_t index);

private:
    const Workbook& workbook_;
    LoadWarnings* warnings_;
    std::map<uint32_t, SurfacePtr> surfaces_;
};

}  // namespace kx::workbook
