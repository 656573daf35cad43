#include "workbook/render/page_links.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace kx::workbook {
namespace {

struct Place {
    std::string sheet;  // empty for the current sheet
    uint32_t row = 0;
    uint16_t column = 0;
};

// "'It''s'!" and "Sheet2!" name a sheet; the rest is a cell ("$B$4", "B4:C9": its first cell).
std::optional<Place> parsePlace(std::string text)
{
    Place place;
    if (!text.empty() && text.front() == '#')
        text.erase(0, 1);
    const size_t bang = text.rfind('!');
    if (bang != std::string::npos) {
        place.sheet = text.substr(0, bang);
        text.erase(0, bang + 1);
        if (place.sheet.size() >= 2 && place.sheet.front() == '\'' && place.sheet.back() == '\'') {
            place.sheet = place.sheet.substr(1, place.sheet.size() - 2);
            for (size_t at = place.sheet.find("''"); at != std::string::npos; at = place.sheet.find("''", at + 1))
                place.sheet.erase(at, 1);
        }
    }
    size_t at = !text.empty() && text[0] == '$' ? 1 : 0;
    uint32_t column = 0;
    for (; at < text.size() && std::isalpha(static_cast<unsigned char>(text[at])) && column <= 256; ++at)
        column = column * 26 + static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(text[at])) - 'A' + 1);
    at += at < text.size() && text[at] == '$';
    uint32_t row = 0;
    const size_t digits = at;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && row <= 65536; ++at)
        row = row * 10 + static_cast<uint32_t>(text[at] - '0');
    if (column == 0 || column > 256 || at == digits || row == 0 || row > 65536 || (at < text.size() && text[at] != ':'))
        return std::nullopt;
    place.row = row - 1;
    place.column = static_cast<uint16_t>(column - 1);
    return place;
}

struct Span {
    double start = 0, end = 0;
};

// Where the tracks from first to last lie together; nothing when the page shows none of them.
std::optional<Span> spanOf(const std::vector<GridTrack>& tracks, uint32_t first, uint32_t last)
{
    std::optional<Span> span;
    for (const GridTrack& track : tracks) {
        if (track.index < first || track.index > last)
            continue;
        if (!span)
            span = Span{track.start, track.start + track.size};
        span->start = std::min(span->start, track.start);
        span->end = std::max(span->end, track.start + track.size);
    }
    return span;
}

}  // namespace

void LinkTargets::addSheet(const Sheet& sheet, const SheetPagination& pagination, int firstPosition)
{
    sheets_.push_back({&sheet, &pagination, firstPosition});
}

int LinkTargets::pageOf(const std::string& location, const Sheet& current) const
{
    const std::optional<Place> place = parsePlace(location);
    if (!place)
        return 0;
    const std::string& sheetName = place->sheet.empty() ? current.name : place->sheet;
    for (const PrintedSheet& printed : sheets_) {
        if (printed.sheet->name != sheetName)
            continue;
        const auto& pages = printed.pagination->pages;
        for (size_t i = 0; i < pages.size(); ++i) {
            const SheetPage& page = pages[i];
            const int position = printed.firstPosition + static_cast<int>(i);
            if (page.rows.first <= place->row && place->row <= page.rows.last && page.columns.first <= place->column &&
                place->column <= page.columns.last)
                return position >= from_ && position <= to_ ? position - from_ + 1 : 0;
        }
    }
    return 0;
}

std::vector<LinkArea> pageLinks(const SheetPrint& print, const SheetPage& page, const LinkTargets& targets)
{
    std::vector<LinkArea> areas;
    if (print.sheet.hyperlinks.empty())
        return areas;
    const PageGrid grid = pageGrid(print.sheet, print.metrics, page);
    const GridPlacement placement = gridPlacement(print, grid);
    for (const Hyperlink& link : print.sheet.hyperlinks) {
        const CellRange& range = link.range;
        const auto rows = spanOf(grid.rows, range.firstRow, range.lastRow);
        const auto columns = spanOf(grid.columns, range.firstColumn, range.lastColumn);
        if (!rows || !columns)
            continue;
        LinkArea area{.x = placement.left + columns->start * placement.scale,
                      .y = placement.top + rows->start * placement.scale,
                      .width = (columns->end - columns->start) * placement.scale,
                      .height = (rows->end - rows->start) * placement.scale,
                      .uri = link.address};
        if (area.uri.empty() && (area.targetPage = targets.pageOf(link.location, print.sheet)) == 0)
            continue;
        areas.push_back(area);
    }
    return areas;
}

}  // namespace kx::workbook
