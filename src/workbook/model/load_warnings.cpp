#include "workbook/model/load_warnings.h"

namespace kx::workbook {

void LoadWarnings::add(uint16_t recordType, size_t offset, std::string dropped)
{
    keep({recordType, offset, std::move(dropped)});
}

void LoadWarnings::add(std::string dropped)
{
    keep({.dropped = std::move(dropped), .atRecord = false});
}

void LoadWarnings::keep(LoadWarning warning)
{
    if (kept_.size() < maximumKept)
        kept_.push_back(std::move(warning));
    else
        ++notKept_;
}

std::vector<std::string> LoadWarnings::lines() const
{
    std::vector<std::string> lines;
    for (const LoadWarning& warning : kept_)
        lines.push_back(warning.atRecord ? "record " + recordTypeText(warning.recordType) + " at offset " +
                                               std::to_string(warning.offset) + ": " + warning.dropped
                                         : warning.dropped);
    if (notKept_ > 0)
        lines.push_back(std::to_string(notKept_) + " more warnings like these");
    return lines;
}

std::string recordTypeText(uint16_t type)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text = "0x0000";
    for (int i = 0; i < 4; ++i)
        text[5 - i] = digits[(type >> (4 * i)) & 0xF];
    return text;
}

}  // namespace kx::workbook
