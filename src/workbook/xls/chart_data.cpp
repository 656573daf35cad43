#include "workbook/xls/chart_data.h"

#include <algorithm>
#include <cmath>

#include "workbook/format/cell_content.h"

namespace kx::workbook::detail {

namespace {

constexpr size_t kMaximumPoints = 32000;

// The cells of a source in order, row by row; a whole column stops after the sheet's last row.
template <typename Visit>
void forEachCell(const Sheet& sheet, const CellRange& range, Visit visit)
{
    const uint32_t lastRow = sheet.rows.empty() ? range.firstRow : std::min(range.lastRow, sheet.rows.back().index);
    size_t count = 0;
    for (uint32_t row = range.firstRow; row <= lastRow; ++row)
        for (uint32_t column = range.firstColumn; column <= range.lastColumn; ++column) {
            if (++count > kMaximumPoints)
                return;
            visit(sheet.cell(row, static_cast<uint16_t>(column)));
        }
}

const Sheet* sourceSheet(const Workbook& workbook, const std::optional<ChartSource>& source)
{
    if (!source || source->sheet >= workbook.sheets.size())
        return nullptr;
    const Sheet& sheet = workbook.sheets[source->sheet];
    return sheet.kind == SheetKind::Worksheet ? &sheet : nullptr;
}

std::string shownText(const Workbook& workbook, const Cell* cell)
{
    if (!cell)
        return {};
    const auto content = cellContent(workbook, *cell);
    return content ? content->text : std::string();
}

std::optional<double> numberOf(const Cell* cell)
{
    const bool usable = cell && cell->kind == CellKind::Number && std::isfinite(cell->number);
    return usable ? std::optional<double>(cell->number) : std::nullopt;
}

void fillSeries(const Workbook& workbook, ChartSeries& series)
{
    if (const Sheet* sheet = sourceSheet(workbook, series.nameSource)) {
        std::string name;
        forEachCell(*sheet, series.nameSource->range, [&](const Cell* cell) {
            const std::string text = shownText(workbook, cell);
            if (!text.empty())
                name += name.empty() ? text : " " + text;
        });
        series.name = std::move(name);
    }
    if (const Sheet* sheet = sourceSheet(workbook, series.valueSource)) {
        series.values.clear();
        bool formatTaken = false;
        forEachCell(*sheet, series.valueSource->range, [&](const Cell* cell) {
            series.values.push_back(numberOf(cell));
            if (series.values.back() && !formatTaken) {
                series.valueFormat = cellFormat(workbook, cell->format).numberFormat;
                formatTaken = true;
            }
        });
    }
    if (const Sheet* sheet = sourceSheet(workbook, series.bubbleSource)) {
        series.bubbleSizes.clear();
        forEachCell(*sheet, series.bubbleSource->range,
                    [&](const Cell* cell) { series.bubbleSizes.push_back(numberOf(cell)); });
    }
    if (const Sheet* sheet = sourceSheet(workbook, series.categorySource)) {
        series.categories.clear();
        series.xValues.clear();
        forEachCell(*sheet, series.categorySource->range, [&](const Cell* cell) {
            series.categories.push_back(shownText(workbook, cell));
            series.xValues.push_back(numberOf(cell));
        });
    }
}

}  // namespace

void fillChartData(Workbook& workbook)
{
    for (Sheet& sheet : workbook.sheets)
        for (Chart& chart : sheet.charts)
            for (ChartSeries& series : chart.series)
                fillSeries(workbook, series);
}

}  // namespace kx::workbook::detail
