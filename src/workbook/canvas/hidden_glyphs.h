#pragma once
// Text drawn under a clip keeps out of the output the glyphs that the clip hides entirely, so
// that a PDF carries the words a reader sees: search and copy find no hidden text, and a
// PostScript print hands Ghostscript the very glyphs that the direct PDF holds (Ghostscript
// would drop the hidden ones itself). The glyphs are blanked while the text is drawn and put
// back afterwards; the advances stay, so what shows does not move.
#include <cairo.h>
#include <pango/pango.h>

#include <utility>
#include <vector>

namespace kx::workbook {

class HiddenGlyphs {
public:
    // For a layout about to be drawn with its top-left corner at cr's current point.
    HiddenGlyphs(cairo_t* cr, PangoLayout* layout);
    // For a run about to be drawn with its baseline's start at cr's current point.
    HiddenGlyphs(cairo_t* cr, PangoGlyphItem* run);
    ~HiddenGlyphs();
    HiddenGlyphs(const HiddenGlyphs&) = delete;
    HiddenGlyphs& operator=(const HiddenGlyphs&) = delete;

    // Where the text starts and what the clip lets show, in cr's user space.
    struct View {
        double x, y;
        double left, top, right, bottom;
    };

private:
    void blank(const View& view, PangoGlyphItem* run, double x, double baseline);

    std::vector<std::pair<PangoGlyphInfo*, PangoGlyph>> blanked_;
};

// pango_cairo_show_layout, less the glyphs the clip hides entirely.
void showVisibleLayout(cairo_t* cr, PangoLayout* layout);

}  // namespace kx::workbook
