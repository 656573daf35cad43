#pragma once
#include <cairo.h>

#include "workbook/header_footer.h"
#include "workbook/page_geometry.h"

namespace kx::workbook {

// Draws the three sections in the margin: the header from the header margin down, the footer
// up to the footer margin; left and right sections align with the page margins. Their text
// scales with the sheet, as the spreadsheet program prints it.
void paintHeaderFooter(cairo_t* cr, const HeaderSections& sections, const HeaderValues& values,
                       const PageFrame& frame, bool footer, double scale);

}  // namespace kx::workbook
