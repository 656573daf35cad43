#pragma once
// The values a chart shows, taken from the cells its series name once every sheet is read.
#include "workbook/model/model.h"

namespace kx::workbook::detail {

// Fills the names, categories and values of every chart's series from the cells of their
// sources; a series whose source is gone keeps the values stored with the chart.
void fillChartData(Workbook& workbook);

}  // namespace kx::workbook::detail
