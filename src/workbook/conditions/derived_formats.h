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

private:
    std::optional<uint16_t> made(uint16_t base, const FormatChange& change);
    std::optional<uint16_t> colorIndex(Color color);
    void apply(const FormatChange& change, CellFormat& format);

    Workbook& workbook_;
    std::map<std::pair<uint16_t, const ConditionalRule*>, uint16_t> madeForRules_;
    std::map<std::tuple<uint16_t, uint8_t, uint8_t, uint8_t>, uint16_t> madeForFills_;
    std::map<std::tuple<uint8_t, uint8_t, uint8_t>, uint16_t> colorIndexes_;
};

}  // namespace kx::workbook::detail
