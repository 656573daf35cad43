// A cell text shaped as one line must measure, cut and print exactly as its layout does.
#include <gtest/gtest.h>

#include <cairo-ps.h>

#include <string>
#include <vector>

#include "workbook/canvas/cell_fonts.h"
#include "workbook/canvas/hidden_glyphs.h"
#include "workbook/canvas/line_items.h"

using namespace kx::workbook;

namespace {

Workbook workbookWithFonts()
{
    Workbook book;
    book.fonts = {Font{}, Font{.name = "Arial", .heightTwips = 220, .bold = true},
                  Font{.name = "Times New Roman", .heightTwips = 240, .italic = true},
                  Font{.name = "Courier New", .heightTwips = 180},
                  Font{.heightTwips = 200, .underline = Underline::Single}, Font{.heightTwips = 200, .strikeout = true},
                  Font{.heightTwips = 200, .script = Script::Superscript}};
    return book;
}

const std::vector<std::string> plainTexts = {
    "42", "1,234.50", "-0.5%", "HEALTHY LEARNING ACADEMY", "AVATAR Tyre WAVE", " leading and trailing  ",
    "Prénom café Übergröße", "€ 1.000,00", "x", "fi fl ffi", "Ωμέγα Ψ", "email@example.com (see 3/4)",
    // East Asian text of one script, in the font that stands in for the cell's.
    "資産負債表", "東京都　港区", "ひらがな", "カタカナ", "조립작업표준서", "ＡＢＣ１２３",
    // Made of characters seen above, so shaped from the items learnt there.
    "24 42", "ACADEMY HEALTH", "café", "0.50%", "Ψμέγα",
};

// The PostScript that drawing with `draw` writes, without its date.
std::string postScriptOf(const std::function<void(cairo_t*)>& draw)
{
    std::string out;
    cairo_surface_t* surface = cairo_ps_surface_create_for_stream(
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &out, 300, 200);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, 1.37, 1.37);  // a zoomed page: positions must not drift in the transformation
    cairo_translate(cr, 17.3, 9.1);
    draw(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    const size_t date = out.find("%%CreationDate");
    if (date != std::string::npos)
        out.erase(date, out.find('\n', date) - date);
    return out;
}

// What a page draws, without the fonts and procedures before it.
std::string pageOf(const std::string& postScript)
{
    return postScript.substr(std::min(postScript.find("%%Page:"), postScript.size()));
}

// The line drawn as the paragraph places it must write the PostScript its layout writes.
void expectDrawnAsLaidOut(const ShapedLine& line, PangoLayout* layout, const Paragraph& paragraph = {})
{
    const double x = 10.3, y = 20.7;
    const std::string drawn = postScriptOf([&](cairo_t* cr) { line.draw(cr, x, y, paragraph); });
    const std::string laidOut = postScriptOf([&](cairo_t* cr) {
        cairo_move_to(cr, x, y);
        showVisibleLayout(cr, layout);
    });
    EXPECT_TRUE(drawn == laidOut) << pageOf(drawn) << "\ninstead of\n" << pageOf(laidOut);
}

}  // namespace

TEST(ShapedLine, MeasuresCutsAndPrintsAsItsLayout)
{
    const Workbook book = workbookWithFonts();
    CellFonts fonts(book);
    for (uint16_t fontIndex = 0; fontIndex < 4; ++fontIndex)
        for (double shrink : {1.0, 0.8})
            for (const std::string& text : plainTexts) {
                SCOPED_TRACE(text + " font " + std::to_string(fontIndex) + " shrink " + std::to_string(shrink));
                const auto line = fonts.line(text, fontIndex, shrink);
                ASSERT_TRUE(line);
                PangoLayout* layout = fonts.layout(text, fontIndex, nullptr, shrink, {});
                PangoRectangle logical;
                pango_layout_get_extents(layout, nullptr, &logical);
                EXPECT_EQ(line->logical().x, logical.x);
                EXPECT_EQ(line->logical().y, logical.y);
                EXPECT_EQ(line->logical().width, logical.width);
                EXPECT_EQ(line->logical().height, logical.height);
                for (double x : {0.0, 0.4, 3.0, 7.7, line->width() / 2, line->width() - 0.1}) {
                    int index = 0, trailing = 0;
                    pango_layout_xy_to_index(layout, static_cast<int>(x * PANGO_SCALE), 0, &index, &trailing);
                    EXPECT_EQ(line->indexAt(x), index) << "at " << x;
                }
                expectDrawnAsLaidOut(*line, layout);
            }
}

TEST(ShapedLine, AWrappedTextThatFitsPrintsAsItsParagraphsOnlyLine)
{
    const Workbook book = workbookWithFonts();
    CellFonts fonts(book);
    for (const std::string& text : {std::string("HEALTHY LEARNING ACADEMY"), std::string("1,234.50"),
                                    std::string(" leading and trailing  "), std::string("x")}) {
        const auto line = fonts.line(text, 1, 1);
        ASSERT_TRUE(line);
        const int width = line->logical().width;
        // Too narrow by a unit, exactly wide enough, a little and a lot wider, whole points.
        for (int paragraphWidth : {width - 1, width, width + 333, 3 * width + 7, (width / PANGO_SCALE + 9) * PANGO_SCALE})
            for (PangoAlignment alignment : {PANGO_ALIGN_LEFT, PANGO_ALIGN_CENTER, PANGO_ALIGN_RIGHT})
                for (bool justify : {false, true}) {
                    const Paragraph paragraph{paragraphWidth, alignment, justify};
                    SCOPED_TRACE(text + " in " + std::to_string(paragraphWidth) + " aligned " +
                                 std::to_string(alignment) + (justify ? " justified" : ""));
                    PangoLayout* layout = fonts.layout(text, 1, nullptr, 1, paragraph);
                    if (!line->fits(paragraph))
                        continue;  // left to the layout, which may still keep it whole
                    ASSERT_EQ(pango_layout_get_line_count(layout), 1);
                    expectDrawnAsLaidOut(*line, layout, paragraph);
                }
    }
}

TEST(ShapedLine, LeavesToALayoutWhatOnlyALayoutDoesRight)
{
    const Workbook book = workbookWithFonts();
    CellFonts fonts(book);
    for (const char* text : {"two\nlines", "cr\rbreak", "tab\tstop", "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d",
                                    "mixed \xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d text", "line\xe2\x80\xa8separator",
                                    "\xe2\x80\x8fmarked", "", "bad \xff utf-8", "\xe4\xb8\xad\xe6\x96\x87 and Latin"})
        EXPECT_FALSE(fonts.line(text, 0, 1)) << text;
    for (uint16_t decorated = 4; decorated < 7; ++decorated)
        EXPECT_FALSE(fonts.line("decorated", decorated, 1)) << "font " << decorated;
}

TEST(LineItems, ReusesAnItemOnlyForCharactersThatChoseItsFontAndScript)
{
    cairo_surface_t* surface = cairo_ps_surface_create_for_stream(nullptr, nullptr, 1, 1);
    MeasuringLayout measuring(surface);
    PangoContext* context = pango_layout_get_context(measuring.get());
    FontDescriptionPtr description = describeFont(Font{}, 10);
    pango_context_set_font_description(context, description.get());
    PangoAttrList* attributes = pango_attr_list_new();
    addNoLigatures(attributes);
    const auto itemized = [&](const std::string& text) {
        GList* items = pango_itemize(context, text.data(), 0, static_cast<int>(text.size()), attributes, nullptr);
        EXPECT_EQ(g_list_length(items), 1u) << text;
        return items;
    };

    LineItems known;
    for (const char* learnt : {"HEALTHY ACADEMY", "1,234.50", "Ωμέγα"}) {
        GList* items = itemized(learnt);
        known.learn(learnt, *static_cast<PangoItem*>(items->data));
        g_list_free_full(items, [](gpointer item) { pango_item_free(static_cast<PangoItem*>(item)); });
    }
    for (const char* text : {"ACE", " HEY  ", "5.0", "  42.1", "μέγα"}) {
        PangoItem* reused = known.itemFor(text);
        ASSERT_TRUE(reused) << text;
        GList* items = itemized(text);
        const PangoItem* fresh = static_cast<PangoItem*>(items->data);
        EXPECT_EQ(reused->offset, fresh->offset) << text;
        EXPECT_EQ(reused->length, fresh->length) << text;
        EXPECT_EQ(reused->num_chars, fresh->num_chars) << text;
        EXPECT_EQ(reused->analysis.font, fresh->analysis.font) << text;
        EXPECT_EQ(reused->analysis.script, fresh->analysis.script) << text;
        EXPECT_EQ(reused->analysis.level, fresh->analysis.level) << text;
        EXPECT_EQ(reused->analysis.language, fresh->analysis.language) << text;
        EXPECT_EQ(g_slist_length(reused->analysis.extra_attrs), g_slist_length(fresh->analysis.extra_attrs)) << text;
        pango_item_free(reused);
        g_list_free_full(items, [](gpointer item) { pango_item_free(static_cast<PangoItem*>(item)); });
    }
    // Unseen characters, several scripts, or only spaces: pango must look.
    for (const char* text : {"ACEZ", "HEY Ωμέγα", "   ", "42x"})
        EXPECT_FALSE(known.itemFor(text)) << text;
    pango_attr_list_unref(attributes);
}
