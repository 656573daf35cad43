#pragma once
// Pango font descriptions for the workbook's fonts.
#include <pango/pango.h>

#include <memory>
#include <string>

#include "workbook/model/model.h"

namespace kx::workbook {

struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;

// The family fontconfig should look for in place of a font name stored in a workbook.
std::string substituteFamily(const std::string& name);

// Family, weight and slant of the font at an absolute size in user units (points on paper).
FontDescriptionPtr describeFont(const Font& font, double size);

}  // namespace kx::workbook
