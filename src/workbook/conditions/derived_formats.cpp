#include "workbook/conditions/derived_formats.h"

#include <algorithm>

namespace kx::workbook::detail {

namespace {

// More formats (and fonts) than this are not made: a damaged or crafted file could ask for one
// per cell. Colours stop short of the automatic font colour.
constexpr size_t kMaximumFormats = 65000;
constexpr size_t kMaximumExtraColors = 0x7FFF - kFirstExtraColor;

// A rule's solid fill shows its background colour, where a cell format's shows the foreground.
void applyFill(const FormatChange& change, CellFormat& format)
{
    format.fillPattern = change.fillPattern.value_or(format.fillPattern);
    if (change.fillBackground && !change.fillPattern && format.fillPattern == 0)
        format.fillPattern = 1;
    if (format.fillPattern == 1) {
        if (const auto shown = change.fillBackground ? change.fillBackground : change.fillForeground)
            format.fillForeground = *shown;
        return;
    }
    format.fillForeground = change.fillForeground.value_or(format.fillForeground);
    format.fillBackground = change.fillBackground.value_or(format.fillBackground);
}

}  // namespace

std::optional<uint16_t> DerivedFormats::format(uint16_t base, const ConditionalRule& rule)
{
    const auto key = std::make_pair(base, &rule);
    if (const auto found = madeForRules_.find(key); found != madeForRules_.end())
        return found->second;
    const auto index = made(base, rule.change);
    if (index)
        madeForRules_.emplace(key, *index);
    return index;
}

std::optional<uint16_t> DerivedFormats::filled(uint16_t base, Color color)
{
    const auto key = std::make_tuple(base, color.red, color.green, color.blue);
    if (const auto found = madeForFills_.find(key); found != madeForFills_.end())
        return found->second;
    const auto shown = colorIndex(color);
    if (!shown)
        return std::nullopt;
    const auto index = made(base, FormatChange{.fillPattern = 1, .fillForeground = *shown});
    if (index)
        madeForFills_.emplace(key, *index);
    return index;
}

std::optional<uint16_t> DerivedFormats::withoutValue(uint16_t base)
{
    if (const auto found = madeWithoutValue_.find(base); found != madeWithoutValue_.end())
        return found->second;
    if (!showingNothing_) {
        // Past every id the file and the built-in formats use.
        uint32_t id = 0x0200;
        for (const NumberFormat& format : workbook_.numberFormats)
            id = std::max<uint32_t>(id, format.id + 1u);
        if (id > 0xFFFF)
            return std::nullopt;
        showingNothing_ = static_cast<uint16_t>(id);
        workbook_.numberFormats.push_back({*showingNothing_, ";;;"});
    }
    const auto index = made(base, {});
    if (index) {
        workbook_.formats[*index].numberFormat = *showingNothing_;
        madeWithoutValue_.emplace(base, *index);
    }
    return index;
}

std::optional<uint16_t> DerivedFormats::made(uint16_t base, const FormatChange& change)
{
    if (workbook_.formats.size() >= kMaximumFormats || workbook_.fonts.size() >= kMaximumFormats ||
        base >= workbook_.formats.size())
        return std::nullopt;
    CellFormat format = workbook_.formats[base];
    apply(withExactColors(change), format);
    workbook_.formats.push_back(format);
    return static_cast<uint16_t>(workbook_.formats.size() - 1);
}

FormatChange DerivedFormats::withExactColors(FormatChange change)
{
    for (auto [exact, index] : {std::pair{&change.exactFontColor, &change.fontColor},
                                {&change.exactFillForeground, &change.fillForeground},
                                {&change.exactFillBackground, &change.fillBackground}})
        if (*exact && *index)
            if (const auto shown = colorIndex(**exact))
                *index = *shown;
    return change;
}

std::optional<uint16_t> DerivedFormats::colorIndex(Color color)
{
    const auto key = std::make_tuple(color.red, color.green, color.blue);
    if (const auto found = colorIndexes_.find(key); found != colorIndexes_.end())
        return found->second;
    if (workbook_.extraColors.size() >= kMaximumExtraColors)
        return std::nullopt;
    workbook_.extraColors.push_back(color);
    const auto index = static_cast<uint16_t>(kFirstExtraColor + workbook_.extraColors.size() - 1);
    colorIndexes_.emplace(key, index);
    return index;
}

void DerivedFormats::apply(const FormatChange& change, CellFormat& format)
{
    if (change.fontColor || change.bold || change.italic || change.strikeout || change.underline) {
        Font font = format.fontIndex < workbook_.fonts.size() ? workbook_.fonts[format.fontIndex] : Font{};
        font.colorIndex = change.fontColor.value_or(font.colorIndex);
        font.bold = change.bold.value_or(font.bold);
        font.italic = change.italic.value_or(font.italic);
        font.strikeout = change.strikeout.value_or(font.strikeout);
        font.underline = change.underline.value_or(font.underline);
        workbook_.fonts.push_back(font);
        format.fontIndex = static_cast<uint16_t>(workbook_.fonts.size() - 1);
    }
    for (auto [side, border] : {std::pair{&change.left, &format.left}, {&change.right, &format.right},
                                {&change.top, &format.top}, {&change.bottom, &format.bottom}})
        if (*side)
            *border = **side;
    applyFill(change, format);
}

}  // namespace kx::workbook::detail
