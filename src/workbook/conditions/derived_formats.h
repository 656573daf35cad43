#pragma once
// The cell formats (and fonts and colours) that conditional formats make: a cell's own format
// with a rule's changes, or with a colour scale's fill, each made once and shared.
#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "workbook/model/model.h"

namespace kx::workbook::detail {

class DerivedFormats {
public:
    explicit DerivedFormats(Workbook& workbook) : workbook_(workbook) {}

    // The index of the cell format `base` with the rule's changes; nothing past the limits.
    std::optional<uint16_t> format(uint16_t base, const ConditionalRule& rule);
    // The index of `base` filled solid in `color`; nothing past the limits.
    std::optional<uint16_t> filled(uint16_t base, Color color);
    // The index of `base` with a number format that shows nothing; nothing past the limits.
    std::optional<uint16_t> withoutValue(uint16_t base);

private:
    std::optional<uint16_t> made(uint16_t base, const FormatChange& change);
    // The change with its colours of their own in place of the palette's nearest.
    FormatChange withExactColors(FormatChange change);
    std::optional<uint16_t> colorIndex(Color color);
    void apply(const FormatChange& change, CellFormat& format);

    Workbook& workbook_;
    std::map<std::pair<uint16_t, const ConditionalRule*>, uint16_t> madeForRules_;
    std::map<std::tuple<uint16_t, uint8_t, uint8_t, uint8_t>, uint16_t> madeForFills_;
    std::map<std::tuple<uint8_t, uint8_t, uint8_t>, uint16_t> colorIndexes_;
    std::map<uint16_t, uint16_t> madeWithoutValue_;
    std::optional<uint16_t> showingNothing_;  // the number format's id
};

}  // namespace kx::workbook::detail
