#pragma once
#include <cairo.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "workbook/layout/header_footer.h"
#include "workbook/layout/page_geometry.h"
#include "workbook/canvas/pango_layout.h"

namespace kx::workbook {

// Header and footer sections for a whole print. Most sections show the same text on every page
// of a sheet (its name, the date, fixed text): each is laid out once and drawn again. A section
// whose text changes, such as a page number, is laid out anew in the same context.
class HeaderFooterPainter {
public:
    // Draws the three sections in the margin: the header from the header margin down, the footer
    // up to the footer margin; left and right sections align with the page margins. Their text
    // scales with the sheet, as the spreadsheet program prints it.
    void paint(cairo_t* cr, const HeaderSections& sections, const HeaderValues& values, const PageFrame& frame,
               bool footer, double scale);

private:
    // All that a section's layout depends on.
    struct Key {
        std::string text;
        std::vector<std::pair<unsigned, HeaderStyle>> runs;  // where each run ends in the text, and its style
        double scale = 1;
        PangoAlignment alignment = PANGO_ALIGN_LEFT;
        auto operator<=>(const Key&) const = default;
    };

    PangoLayout* layout(Key key);

    // makeLayout's metrics for PostScript output, as on the page: sections are drawn before
    // anything transforms it.
    MeasuringLayout context_ = MeasuringLayout::forPostScript();
    std::map<Key, LayoutPtr> layouts_;
};

}  // namespace kx::workbook
