#include "workbook/layout/pagination.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "workbook/model/error.h"
#include "workbook/layout/used_range.h"

namespace kx::workbook {
namespace {

// One direction (rows or columns) of one print area, in unscaled points.
struct Axis {
    uint32_t first = 0;
    std::vector<double> sizes;                            // of first, first + 1, ...
    std::optional<std::pair<uint32_t, uint32_t>> titles;
    double titleSize = 0;
    double headingSize = 0;
    std::vector<uint32_t> breaks;                         // ascending; a band starts at each
};

constexpr double tolerance = 1e-6;

std::vector<Band> splitAxis(const Axis& axis, double available, bool withBreaks)
{
    std::vector<Band> bands;
    const uint32_t count = static_cast<uint32_t>(axis.sizes.size());
    uint32_t next = 0;
    while (next < count) {
        const uint32_t start = next;
        const bool titled = axis.titles && axis.titleSize > 0 && axis.first + start > axis.titles->second;
        const double room = available - axis.headingSize - (titled ? axis.titleSize : 0);
        double used = 0;
        for (; next < count; ++next) {
            const bool manualBreak =
                withBreaks && std::binary_search(axis.breaks.begin(), axis.breaks.end(), axis.first + next);
            if (next > start && (manualBreak || used + axis.sizes[next] > room + tolerance))
                break;
            used += axis.sizes[next];
        }
        bands.push_back({axis.first + start, axis.first + next - 1, titled});
    }
    return bands;
}

template <typename SizeOf>
Axis makeAxis(uint32_t first, uint32_t last, SizeOf sizeOf, std::optional<std::pair<uint32_t, uint32_t>> titles,
              uint32_t limit, double headingSize, std::vector<uint32_t> breaks)
{
    Axis axis;
    axis.first = first;
    for (uint32_t index = first; index <= last; ++index)
        axis.sizes.push_back(sizeOf(index));
    if (titles && titles->first <= titles->second && titles->first < limit) {
        titles->second = std::min(titles->second, limit - 1);
        axis.titles = titles;
        for (uint32_t index = titles->first; index <= titles->second; ++index)
            axis.titleSize += sizeOf(index);
    }
    axis.headingSize = headingSize;
    std::sort(breaks.begin(), breaks.end());
    axis.breaks = std::move(breaks);
    return axis;
}

struct AreaAxes {
    Axis rows, columns;
};

// The range cut to the sheet's rows and columns; nothing when none of it is on the sheet.
std::optional<CellRange> onSheet(CellRange area)
{
    area.lastRow = std::min(area.lastRow, maxRows - 1);
    area.lastColumn = std::min<uint16_t>(area.lastColumn, maxColumns - 1);
    if (area.firstRow <= area.lastRow && area.firstColumn <= area.lastColumn)
        return area;
    return std::nullopt;
}

std::vector<CellRange> printAreas(const Sheet& sheet, const std::vector<CellRef>& printable,
                                  const std::vector<CellRange>& inkedAreas)
{
    std::vector<CellRange> areas;
    for (const CellRange& area : sheet.pageSetup.printArea)
        if (auto cut = onSheet(area))
            areas.push_back(*cut);
    // Without a print area the print runs from A1, blank rows and columns before the first cell included.
    if (areas.empty())
        if (auto used = boundingRange(printable, inkedAreas))
            if (auto cut = onSheet({0, used->lastRow, 0, used->lastColumn}))
                areas.push_back(*cut);
    return areas;
}

AreaAxes areaAxes(const Sheet& sheet, const SheetMetrics& metrics, const CellRange& area, double headingWidth,
                  double headingHeight)
{
    const PageSetup& setup = sheet.pageSetup;
    std::optional<std::pair<uint32_t, uint32_t>> titleColumns;
    if (setup.titleColumns)
        titleColumns = std::make_pair<uint32_t, uint32_t>(setup.titleColumns->first, setup.titleColumns->second);
    return {
        makeAxis(area.firstRow, area.lastRow, [&](uint32_t row) { return metrics.rowHeight(row); },
                 setup.titleRows, maxRows, headingHeight, setup.rowBreaks),
        makeAxis(area.firstColumn, area.lastColumn,
                 [&](uint32_t column) { return metrics.columnWidth(column); },
                 titleColumns, maxColumns, headingWidth,
                 std::vector<uint32_t>(setup.columnBreaks.begin(), setup.columnBreaks.end())),
    };
}

// The largest whole percentage, at most 100, at which every area fits the pages asked for;
// a count of 0 leaves that direction free.
double fittingScale(const std::vector<AreaAxes>& axes, const PageSetup& setup, double width, double height)
{
    const auto fits = [](size_t bands, uint16_t wanted) { return wanted == 0 || bands <= wanted; };
    for (int percent = 100; percent > minimumZoom; --percent) {
        const double scale = percent / 100.0;
        const bool allFit = std::all_of(axes.begin(), axes.end(), [&](const AreaAxes& area) {
            return fits(splitAxis(area.columns, width / scale, false).size(), setup.fitWidth) &&
                   fits(splitAxis(area.rows, height / scale, false).size(), setup.fitHeight);
        });
        if (allFit)
            return scale;
    }
    return minimumZoom / 100.0;
}

size_t bandIndex(const std::vector<Band>& bands, uint32_t index)
{
    return std::lower_bound(bands.begin(), bands.end(), index,
                            [](const Band& band, uint32_t i) { return band.last < i; }) -
           bands.begin();
}

// The bands that the rows (or columns) first to last cross where one of them shows.
template <typename Hidden>
std::vector<size_t> crossedBands(const std::vector<Band>& bands, uint32_t first, uint32_t last, Hidden hidden)
{
    std::vector<size_t> crossed;
    for (size_t band = bandIndex(bands, first); band < bands.size() && bands[band].first <= last; ++band) {
        const uint32_t end = std::min(last, bands[band].last);
        for (uint32_t index = std::max(first, bands[band].first); index <= end; ++index)
            if (!hidden(index)) {
                crossed.push_back(band);
                break;
            }
    }
    return crossed;
}

// Pages of one area in print order, leaving out those without a visible printable cell.
void addAreaPages(SheetPagination& pagination, size_t areaIndex, const std::vector<Band>& rows,
                  const std::vector<Band>& columns, const std::vector<CellRef>& printable,
                  const std::vector<CellRange>& inkedAreas, const SheetMetrics& metrics, bool overThenDown,
                  size_t pageLimit)
{
    const CellRange& area = pagination.areas[areaIndex];
    std::vector<bool> inked(rows.size() * columns.size(), false);
    for (const CellRef& cell : printable)
        if (area.contains(cell.row, cell.column) && !metrics.rowHidden(cell.row) &&
            !metrics.columnHidden(cell.column))
            inked[bandIndex(rows, cell.row) * columns.size() + bandIndex(columns, cell.column)] = true;
    for (const CellRange& inkedArea : inkedAreas) {
        const uint32_t firstRow = std::max(inkedArea.firstRow, area.firstRow);
        const uint32_t lastRow = std::min(inkedArea.lastRow, area.lastRow);
        const uint16_t firstColumn = std::max(inkedArea.firstColumn, area.firstColumn);
        const uint16_t lastColumn = std::min(inkedArea.lastColumn, area.lastColumn);
        if (firstRow > lastRow || firstColumn > lastColumn)
            continue;
        const auto rowHidden = [&](uint32_t row) { return metrics.rowHidden(row); };
        const auto columnHidden = [&](uint32_t column) { return metrics.columnHidden(column); };
        for (size_t row : crossedBands(rows, firstRow, lastRow, rowHidden))
            for (size_t column : crossedBands(columns, firstColumn, lastColumn, columnHidden))
                inked[row * columns.size() + column] = true;
    }

    const size_t outer = overThenDown ? rows.size() : columns.size();
    const size_t inner = overThenDown ? columns.size() : rows.size();
    for (size_t o = 0; o < outer; ++o)
        for (size_t i = 0; i < inner; ++i) {
            const size_t row = overThenDown ? o : i, column = overThenDown ? i : o;
            if (!inked[row * columns.size() + column])
                continue;
            if (pagination.pages.size() >= pageLimit)
                throw WorkbookError(ErrorCode::TooManyPages,
                                    "The print would need more than " + std::to_string(pageLimit) + " pages.");
            pagination.pages.push_back({areaIndex, rows[row], columns[column]});
        }
}

}  // namespace

SheetPagination paginate(const Workbook& workbook, const Sheet& sheet, const SheetMetrics& metrics,
                         double contentWidth, double contentHeight, size_t pageLimit,
                         const std::vector<CellRange>& inkedAreas)
{
    const PageSetup& setup = sheet.pageSetup;
    const std::vector<CellRef> printable = printableCells(workbook, sheet);
    std::vector<CellRange> inked = printableMergedRanges(workbook, sheet);
    inked.insert(inked.end(), inkedAreas.begin(), inkedAreas.end());
    SheetPagination pagination;
    pagination.areas = printAreas(sheet, printable, inked);
    if (pagination.areas.empty())
        return pagination;

    if (setup.headings) {
        uint32_t lastRow = 0;
        for (const CellRange& area : pagination.areas)
            lastRow = std::max(lastRow, area.lastRow);
        pagination.headingWidth = metrics.headingColumnWidth(lastRow);
        pagination.headingHeight = metrics.headingRowHeight();
    }
    std::vector<AreaAxes> axes;
    for (const CellRange& area : pagination.areas)
        axes.push_back(areaAxes(sheet, metrics, area, pagination.headingWidth, pagination.headingHeight));

    pagination.scale = setup.fitToPages ? fittingScale(axes, setup, contentWidth, contentHeight)
                                        : std::clamp<int>(setup.scale, minimumZoom, maximumZoom) / 100.0;
    // Fitting to pages overrides the manual breaks, as in the spreadsheet program.
    const bool withBreaks = !setup.fitToPages;
    for (size_t area = 0; area < axes.size(); ++area) {
        const auto rows = splitAxis(axes[area].rows, contentHeight / pagination.scale, withBreaks);
        const auto columns = splitAxis(axes[area].columns, contentWidth / pagination.scale, withBreaks);
        addAreaPages(pagination, area, rows, columns, printable, inked, metrics, setup.overThenDown, pageLimit);
    }
    return pagination;
}

}  // namespace kx::workbook
