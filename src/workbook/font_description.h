#pragma once
// Pango font descriptions for the workbook's fonts.
#include <pango/pango.h>

#include <memory>

#include "workbook/model.h"

namespace kx::workbook {

struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;

// Family, weight and slant of the font at an absolute size in user units (points on paper).
FontDescriptionPtr describeFont(const Font& font, double size);

}  // namespace kx::workbook
