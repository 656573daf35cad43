#include <pango/pangocairo.h>

#include "workbook/print.h"

namespace kx::workbook {

// Every print measures and draws text through this thread's default font map; making it starts
// the font configuration's loading on a thread of its own.
void prepareFonts() { pango_cairo_font_map_get_default(); }

}  // namespace kx::workbook
