#pragma once
// The workbook's fonts as pango sees them, made once per print and shared by every page.
#include <pango/pango.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "workbook/canvas/font_description.h"
#include "workbook/model/model.h"
#include "workbook/canvas/pango_layout.h"
#include "workbook/canvas/shaped_line.h"

namespace kx::workbook {

struct AttrListDeleter {
    void operator()(PangoAttrList* list) const { pango_attr_list_unref(list); }
};
using AttrListPtr = std::unique_ptr<PangoAttrList, AttrListDeleter>;

class CellFonts {
public:
    explicit CellFonts(const Workbook& workbook);

    // An index past the workbook's fonts falls back to the default font.
    const Font& font(uint16_t index) const;
    const PangoFontDescription* description(uint16_t index);
    Color color(uint16_t index) const;
    // See screenWidthRatio.
    double screenWidthRatio(uint16_t index);

    // Underline, strike-through and script of the font over the whole text, and for rich text
    // the font, colour and decoration of every run.
    AttrListPtr attributes(uint16_t fontIndex, const std::string& text, const RichText* rich);

    // The text laid out in the font (with the runs of rich text, shrunk by a factor) and the
    // paragraph, kept for the rest of the print and shared with every caller that asks for the
    // same: the layout must not be changed. Its context has makeLayout's metrics.
    PangoLayout* layout(const std::string& text, uint16_t fontIndex, const RichText* rich, double shrink,
                        const Paragraph& paragraph);
    // The same text as one shaped line, drawn as its layout of one unbroken line draws it, or
    // nullptr when it needs a layout (see ShapedLine::shape; underlined, struck-through and
    // raised or lowered fonts too). Kept for the rest of the print like the layouts.
    std::shared_ptr<const ShapedLine> line(const std::string& text, uint16_t fontIndex, double shrink);

private:
    struct LineKey {
        std::string text;
        uint16_t fontIndex = 0;
        double shrink = 1;
        bool operator==(const LineKey&) const = default;
    };
    struct LineKeyHash {
        size_t operator()(const LineKey& key) const;
    };

    void addRunAttributes(PangoAttrList* list, uint16_t fontIndex, unsigned start, unsigned end, bool withFont);
    AttrListPtr layoutAttributes(uint16_t fontIndex, const std::string& text, const RichText* rich, double shrink);
    bool drawsOnlyGlyphs(uint16_t fontIndex) const;

    const Workbook& workbook_;
    std::vector<FontDescriptionPtr> descriptions_;
    std::vector<double> screenWidthRatios_;  // per font slot; 0 until measured
    LayoutCache layouts_;
    // Lines are shaped in a context of their own with the layouts' metrics, whose base font is
    // the font of the line: setting it on the layouts' context would lay them all out again.
    MeasuringLayout lineContext_ = MeasuringLayout::forPostScript();
    const PangoFontDescription* lineFont_ = nullptr;
    std::unordered_map<LineKey, std::shared_ptr<const ShapedLine>, LineKeyHash> lines_;
    // Per font and shrink: the attributes of its lines, the same for every text, and their items.
    struct LineFont {
        AttrListPtr attributes;
        LineItems items;
    };
    std::map<std::pair<uint16_t, double>, LineFont> lineFonts_;
};

// Ligatures off over the whole text: a ligature glyph has no character of its own, and the PDF
// would lose the letters it joins ("Bottom" read back as "Bo om").
void addNoLigatures(PangoAttrList* list);
// A word too long for its line breaks between characters without a hyphen: the spreadsheet
// program never adds one, in cells, text boxes, charts or comments alike.
void addNoHyphens(PangoAttrList* list);

// The byte offset in UTF-8 text of a position counted in UTF-16 code units.
size_t utf8OffsetOfUtf16(const std::string& text, uint32_t utf16Units);

}  // namespace kx::workbook
