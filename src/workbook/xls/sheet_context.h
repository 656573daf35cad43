#pragma once
// What the readers of one sheet's records need to know of the workbook around it.
#include <cstddef>

#include "workbook/model/model.h"
#include "workbook/xls/globals_reader.h"

namespace kx::workbook::detail {

struct SheetContext {
    size_t formatCount = 0;  // cell formats in the workbook; cells naming others get the default
    size_t fontCount = 0;
    size_t sharedStringCount = 0;
    const Globals* globals = nullptr;   // for the cells charts name; without it charts keep their own values
    const Workbook* formats = nullptr;  // the cell and number formats of the values stored with charts
    LoadWarnings* warnings = nullptr;   // where a sheet cut short says what it lost
};

}  // namespace kx::workbook::detail
