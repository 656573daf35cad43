#pragma once
// The text of a converted metafile, drawn by this program rather than by the SVG renderer,
// which outlines every glyph on any output but PDF and so leaves nothing for a PDF reader to find.
#include <cairo.h>

#include <string>
#include <vector>

#include "workbook/model/model.h"

namespace kx::workbook {

enum class TextAnchor : uint8_t { Start, Middle, End };

// One text element: a run of text on one baseline, in the drawing's units.
struct MetafileTextRun {
    double x = 0, y = 0, size = 0;
    std::string family, text;
    bool bold = false, italic = false;
    Color fill;
    TextAnchor anchor = TextAnchor::Start;
};

// Takes out of `svg` the text elements that the converter writes for the metafile's text and
// returns them in drawing order. Elements of any other shape (a transform, a decoration, nested
// markup) stay in the document, for the renderer to draw as outlines.
std::vector<MetafileTextRun> takeTextRuns(std::string& svg);

// Draws the runs in the current user space of cr.
void paintTextRuns(cairo_t* cr, const std::vector<MetafileTextRun>& runs);

}  // namespace kx::workbook
