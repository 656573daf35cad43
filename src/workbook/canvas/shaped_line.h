#pragma once
// One line of text in one font, itemized and shaped without a PangoLayout. Most cell texts are
// such a line, and a layout (line breaking, cursor positions, its own copies of the runs) costs
// several times the shaping itself. The glyphs, positions and embedded text are those a layout
// of the same text, attributes and context draws.
#include <cairo.h>
#include <pango/pango.h>

#include <memory>
#include <string>

#include "workbook/canvas/line_items.h"
#include "workbook/canvas/pango_layout.h"

namespace kx::workbook {

class ShapedLine {
public:
    // The text shaped in context with the attributes over the whole text, or nullptr when a
    // layout must handle it: several lines, tabs, right-to-left text, more than one font or
    // script run, or glyphs the font lacks. The context's font description is the base font.
    // `known` holds the items of earlier lines in the same context, font and attributes.
    static std::unique_ptr<ShapedLine> shape(PangoContext* context, const std::string& text, PangoAttrList* attributes,
                                             LineItems& known);
    ~ShapedLine();
    ShapedLine(const ShapedLine&) = delete;
    ShapedLine& operator=(const ShapedLine&) = delete;

    // As pango_layout_get_extents gives the logical rectangle: from the top of the line.
    const PangoRectangle& logical() const { return logical_; }
    double width() const { return static_cast<double>(logical_.width) / PANGO_SCALE; }
    // The byte index of the character under x (points from the line's start), or of the last
    // character when x lies past the text.
    int indexAt(double x) const;
    // As a layout of the paragraph draws it with its top-left corner at (x, y) in cr's user
    // space: a line that fits the paragraph's width is its only line, aligned within it.
    void draw(cairo_t* cr, double x, double y, const Paragraph& paragraph = {}) const;
    // Whether a layout of the paragraph keeps the whole text on this one line.
    bool fits(const Paragraph& paragraph) const { return paragraph.width < 0 || logical_.width <= paragraph.width; }

private:
    ShapedLine(std::string text, PangoItem* item, PangoGlyphString* glyphs);
    int alignedStart(const Paragraph& paragraph) const;

    std::string text_;
    PangoGlyphItem run_;
    PangoRectangle logical_{};
};

}  // namespace kx::workbook
