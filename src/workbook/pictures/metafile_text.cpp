#include "workbook/pictures/metafile_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

#include "workbook/canvas/pango_layout.h"
#include "workbook/canvas/hidden_glyphs.h"

namespace kx::workbook {
namespace {

constexpr std::string_view kTextStart = "<svg:text ", kTextEnd = "</svg:text>";
constexpr std::string_view kCdataStart = "<![CDATA[", kCdataEnd = "]]>";
constexpr std::string_view kGroupStart = "<svg:g", kTranslate = "<svg:g transform=\"translate(";
constexpr int kBoldWeight = 600;

std::optional<double> number(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<Color> hexColor(const std::string& text)
{
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str() + 1, &end, 16);
    if (*end != '\0')
        return std::nullopt;
    return Color{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

std::string unescaped(std::string_view text)
{
    static constexpr std::pair<std::string_view, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (size_t at = 0; at < text.size();) {
        bool replaced = false;
        for (const auto& [entity, character] : entities)
            if (text.substr(at, entity.size()) == entity) {
                out += character;
                at += entity.size();
                replaced = true;
                break;
            }
        if (!replaced)
            out += text[at++];
    }
    return out;
}

// Symbol fonts are addressed through the private-use codes U+F020 to U+F0FF, which no other
// font draws; the common bullets and marks among them get their own characters.
std::string withSymbolCharacters(std::string text)
{
    static constexpr std::pair<std::string_view, std::string_view> symbols[] = {
        {"\uF0B7", "\u2022"}, {"\uF09F", "\u2022"}, {"\uF0A7", "\u25AA"}, {"\uF0A8", "\u25A1"},
        {"\uF0D8", "\u27A2"}, {"\uF0FC", "\u2714"}, {"\uF0B0", "\u00B0"}, {"\uF0B1", "\u00B1"}};
    for (const auto& [privateUse, character] : symbols)
        for (size_t at = text.find(privateUse); at != std::string::npos; at = text.find(privateUse, at + character.size()))
            text.replace(at, privateUse.size(), character);
    return text;
}

// Applies one attribute to the run; false for an attribute or value that this drawing of text
// does not reproduce.
bool applyAttribute(MetafileTextRun& run, const std::string& name, const std::string& value)
{
    if (name == "font-family") {
        run.family = value;
    } else if (name == "font-size" || name == "x" || name == "y") {
        const std::optional<double> parsed = number(value);
        if (!parsed)
            return false;
        (name == "x" ? run.x : name == "y" ? run.y : run.size) = *parsed;
    } else if (name == "font-weight") {
        const std::optional<double> weight = number(value);
        run.bold = value == "bold" || (weight && *weight >= kBoldWeight);
    } else if (name == "font-style") {
        run.italic = value == "italic" || value == "oblique";
    } else if (name == "text-anchor") {
        run.anchor = value == "middle" ? TextAnchor::Middle : value == "end" ? TextAnchor::End : TextAnchor::Start;
    } else if (name == "fill") {
        const std::optional<Color> color = hexColor(value);
        if (!color)
            return false;
        run.fill = *color;
    } else {
        return name == "style" && value == "white-space:pre;";
    }
    return true;
}

// The attributes of a start tag, `name = "value"` with either quote.
bool applyAttributes(MetafileTextRun& run, std::string_view tag)
{
    size_t at = 0;
    const auto skipSpace = [&] {
        while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at])))
            ++at;
    };
    for (skipSpace(); at < tag.size(); skipSpace()) {
        const size_t nameEnd = tag.find_first_of("= \t\r\n", at);
        if (nameEnd == std::string_view::npos)
            return false;
        const std::string name(tag.substr(at, nameEnd - at));
        at = nameEnd;
        skipSpace();
        if (at >= tag.size() || tag[at] != '=')
            return false;
        ++at;
        skipSpace();
        if (at >= tag.size() || (tag[at] != '"' && tag[at] != '\''))
            return false;
        const size_t valueEnd = tag.find(tag[at], at + 1);
        if (valueEnd == std::string_view::npos)
            return false;
        if (!applyAttribute(run, name, unescaped(tag.substr(at + 1, valueEnd - at - 1))))
            return false;
        at = valueEnd + 1;
    }
    return run.size > 0;
}

// The element's text: one character-data section, or plain text without markup.
std::optional<std::string> elementText(std::string_view content)
{
    if (content.starts_with(kCdataStart) && content.ends_with(kCdataEnd) &&
        content.size() >= kCdataStart.size() + kCdataEnd.size())
        return std::string(content.substr(kCdataStart.size(), content.size() - kCdataStart.size() - kCdataEnd.size()));
    if (content.find('<') != std::string_view::npos)
        return std::nullopt;
    return unescaped(content);
}

// The converter puts everything into one group moved by the drawing's origin; text inside any
// other group could be clipped or transformed, so then all text stays with the renderer.
std::optional<std::pair<double, double>> groupOffset(const std::string& svg)
{
    const size_t group = svg.find(kGroupStart);
    if (group == std::string::npos)
        return std::pair{0.0, 0.0};
    if (svg.find(kGroupStart, group + 1) != std::string::npos || svg.compare(group, kTranslate.size(), kTranslate) != 0)
        return std::nullopt;
    const char* start = svg.c_str() + group + kTranslate.size();
    char* end = nullptr;
    const double x = std::strtod(start, &end);
    if (end == start || *end != ',')
        return std::nullopt;
    const char* second = end + 1;
    const double y = std::strtod(second, &end);
    if (end == second || *end != ')' || !std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;
    return std::pair{x, y};
}

// The metafile places each run where its own font's advances put it; this program's fonts
// advance a little differently, and a gap where one run meets the next would split a word in
// two for a reader of the PDF. A run followed on its line by another is stretched to meet it,
// unless that would visibly distort it.
double stretchToNext(const MetafileTextRun& run, const MetafileTextRun& next, double width)
{
    constexpr double leastStretch = 0.8, mostStretch = 1.25;
    if (run.anchor != TextAnchor::Start || next.anchor != TextAnchor::Start || next.y != run.y || width <= 0)
        return 1;
    const double stretch = (next.x - run.x) / width;
    return stretch >= leastStretch && stretch <= mostStretch ? stretch : 1;
}

}  // namespace

std::vector<MetafileTextRun> takeTextRuns(std::string& svg)
{
    const std::optional<std::pair<double, double>> offset = groupOffset(svg);
    if (!offset)
        return {};
    std::vector<MetafileTextRun> runs;
    std::string kept;
    size_t copied = 0;
    for (size_t start = svg.find(kTextStart); start != std::string::npos; start = svg.find(kTextStart, start + 1)) {
        const size_t tagEnd = svg.find('>', start);
        const size_t contentEnd = tagEnd == std::string::npos ? tagEnd : svg.find(kTextEnd, tagEnd);
        if (contentEnd == std::string::npos)
            break;
        const std::string_view whole(svg);
        MetafileTextRun run;
        const std::optional<std::string> text = elementText(whole.substr(tagEnd + 1, contentEnd - tagEnd - 1));
        if (!text || !applyAttributes(run, whole.substr(start + kTextStart.size(), tagEnd - start - kTextStart.size())))
            continue;
        run.text = withSymbolCharacters(*text);
        run.x += offset->first;
        run.y += offset->second;
        runs.push_back(std::move(run));
        kept.append(svg, copied, start - copied);
        copied = contentEnd + kTextEnd.size();
    }
    kept.append(svg, copied);
    svg = std::move(kept);
    return runs;
}

void paintTextRuns(cairo_t* cr, const std::vector<MetafileTextRun>& runs)
{
    if (runs.empty())
        return;
    LayoutPtr layout = makeLayout(cr);
    // Ligatures would leave glyphs without a character behind them in the PDF.
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_features_new("liga=0, clig=0, dlig=0"));
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);
    PangoFontDescription* font = pango_font_description_new();
    for (size_t i = 0; i < runs.size(); ++i) {
        const MetafileTextRun& run = runs[i];
        pango_font_description_set_family(font, run.family.c_str());
        pango_font_description_set_absolute_size(font, run.size * PANGO_SCALE);
        pango_font_description_set_weight(font, run.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(font, run.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        pango_layout_set_font_description(layout.get(), font);
        pango_layout_set_text(layout.get(), run.text.data(), static_cast<int>(run.text.size()));
        const double width = logicalSize(layout.get()).width;
        const double shift = run.anchor == TextAnchor::Middle ? width / 2 : run.anchor == TextAnchor::End ? width : 0;
        const double stretch = i + 1 < runs.size() ? stretchToNext(run, runs[i + 1], width) : 1;
        cairo_save(cr);
        cairo_translate(cr, run.x - shift, run.y);
        cairo_scale(cr, stretch, 1);
        cairo_set_source_rgb(cr, run.fill.red / 255.0, run.fill.green / 255.0, run.fill.blue / 255.0);
        cairo_move_to(cr, 0, -static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE);
        showVisibleLayout(cr, layout.get());
        cairo_restore(cr);
    }
    pango_font_description_free(font);
}

}  // namespace kx::workbook
