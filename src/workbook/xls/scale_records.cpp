#include "workbook/xls/scale_records.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "workbook/model/cell_fill.h"

namespace kx::workbook::detail {

namespace {

// Formulas longer than this are left unknown, as a rule's own.
constexpr uint16_t kLongestFormula = 512;

std::optional<ScaleThreshold::Kind> thresholdKind(uint8_t stored)
{
    using Kind = ScaleThreshold::Kind;
    switch (stored) {
    case 1: return Kind::Number;
    case 2: return Kind::Minimum;
    case 3: return Kind::Maximum;
    case 4: return Kind::Percent;
    case 5: return Kind::Percentile;
    case 7: return Kind::Formula;
    default: return std::nullopt;
    }
}

// Its kind, a formula (for any kind but the lowest and highest), and a number when there is no
// formula. A number given by a formula is a formula threshold; a percent or percentile given by
// one is not known here.
std::optional<ScaleThreshold> readThreshold(RecordReader& reader)
{
    using Kind = ScaleThreshold::Kind;
    const auto kind = thresholdKind(reader.u8());
    const uint16_t formulaSize = reader.u16();
    ScaleThreshold threshold;
    if (formulaSize > 0) {
        std::vector<uint8_t> formula(std::min<size_t>(formulaSize, kLongestFormula + 1));
        if (formulaSize > reader.remaining())
            reader.fail("a threshold's formula is longer than the record");
        for (uint8_t& byte : formula)
            byte = reader.u8();
        reader.skip(formulaSize - formula.size());
        if (!kind || formulaSize > kLongestFormula || (*kind != Kind::Number && *kind != Kind::Formula))
            return std::nullopt;
        threshold.kind = Kind::Formula;
        threshold.formula = std::move(formula);
        return threshold;
    }
    if (kind != Kind::Minimum && kind != Kind::Maximum)
        threshold.value = reader.f64();
    if (!kind || *kind == Kind::Formula || !std::isfinite(threshold.value))
        return std::nullopt;
    threshold.kind = *kind;
    return threshold;
}

// The colours of the theme the spreadsheet program gave new workbooks when these records came in,
// in the order that theme colour numbers count them: the light and dark text and background
// colours, six accents, then links and followed links.
constexpr std::array<Color, 12> kThemeColors{{{0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00}, {0xEE, 0xEC, 0xE1},
                                              {0x1F, 0x49, 0x7D}, {0x4F, 0x81, 0xBD}, {0xC0, 0x50, 0x4D},
                                              {0x9B, 0xBB, 0x59}, {0x80, 0x64, 0xA2}, {0x4B, 0xAC, 0xC6},
                                              {0xF7, 0x96, 0x46}, {0x00, 0x00, 0xFF}, {0x80, 0x00, 0x80}}};

}  // namespace

// A tint lightens towards white by its share, or darkens towards black.
Color tinted(Color color, double tint)
{
    if (!std::isfinite(tint) || tint == 0)
        return color;
    tint = std::clamp(tint, -1.0, 1.0);
    return tint > 0 ? blend(Color{255, 255, 255}, color, tint) : blend(Color{0, 0, 0}, color, -tint);
}

std::optional<Color> themeColor(uint32_t index, double tint)
{
    if (index < kThemeColors.size())
        return tinted(kThemeColors[index], tint);
    return std::nullopt;
}

namespace {

// Its kind, the value (palette index, red green blue and a reserved byte, or theme colour
// number), and a tint.
std::optional<ScaleColor> readColor(RecordReader& reader)
{
    const uint32_t kind = reader.u32();
    const uint8_t first = reader.u8(), second = reader.u8(), third = reader.u8(), fourth = reader.u8();
    const double tint = reader.f64();
    const uint32_t value = first | second << 8 | third << 16 | static_cast<uint32_t>(fourth) << 24;
    constexpr uint16_t kSystemForeground = 64;
    switch (kind) {
    case 0: return ScaleColor{kSystemForeground, {}};
    case 1: return value <= 0x7FFF ? std::optional(ScaleColor{static_cast<uint16_t>(value), {}}) : std::nullopt;
    case 2: return ScaleColor{std::nullopt, tinted({first, second, third}, tint)};
    case 3:
        if (const auto color = themeColor(value, tint))
            return ScaleColor{std::nullopt, *color};
        return std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace

// Two or three points, each a threshold with its place on the scale, then as many colours, each
// with its place; the places are the spreadsheet program's own (0, 0.5, 1) and not needed here.
std::optional<ColorScale> readColorScale(RecordReader& reader)
{
    reader.skip(3);
    const uint8_t thresholds = reader.u8(), colors = reader.u8();
    reader.skip(1);  // options
    if (thresholds < 2 || thresholds > 3 || colors != thresholds)
        return std::nullopt;
    ColorScale scale;
    bool known = true;
    std::array<std::optional<ScaleThreshold>, 3> read;
    for (uint8_t i = 0; i < thresholds; ++i) {
        read[i] = readThreshold(reader);
        reader.skip(8);
    }
    for (uint8_t i = 0; i < colors; ++i) {
        reader.skip(8);
        const auto color = readColor(reader);
        known = known && read[i] && color;
        if (known)
            scale.points.emplace_back(*read[i], *color);
    }
    return known ? std::optional(std::move(scale)) : std::nullopt;
}

// Options, the bar's shortest and longest length in percent of the cell's width, its colour,
// then the thresholds of the shortest and the longest bar.
std::optional<DataBarRule> readDataBar(RecordReader& reader)
{
    reader.skip(3);
    // The spreadsheet program's sample workbooks set this bit on their bars without values.
    constexpr uint8_t kBarOnly = 0x02;
    DataBarRule bar;
    bar.showsValue = (reader.u8() & kBarOnly) == 0;
    bar.shortestPercent = std::min<uint8_t>(reader.u8(), 100);
    bar.longestPercent = std::clamp<uint8_t>(reader.u8(), bar.shortestPercent, 100);
    const auto color = readColor(reader);
    const auto shortest = readThreshold(reader);
    const auto longest = readThreshold(reader);
    if (!color || !shortest || !longest)
        return std::nullopt;
    bar.color = *color;
    bar.shortest = *shortest;
    bar.longest = *longest;
    return bar;
}

}  // namespace kx::workbook::detail
