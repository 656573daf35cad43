#pragma once
// One sheet's records: cells, rows and columns, merged ranges, page set-up and comments.
#include <cstddef>
#include <vector>

#include "workbook/xls/globals_reader.h"
#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

struct SheetContext {
    size_t formatCount = 0;  // cell formats in the workbook; cells naming others get the default
    size_t fontCount = 0;
    size_t sharedStringCount = 0;
    const Globals* globals = nullptr;   // for the cells charts name; without it charts keep their own values
    const Workbook* formats = nullptr;  // the cell and number formats of the values stored with charts
};

// Reads the sheet whose BOF record starts at `offset` into `sheet` (whose name, kind and
// visibility are already set) and returns the stream offset just past its EOF record.
// Texts of labels and formula results are appended to `strings`.
size_t readSheet(Bytes stream, size_t offset, const SheetContext& context, Sheet& sheet,
                 std::vector<RichText>& strings);

}  // namespace kx::workbook::detail
