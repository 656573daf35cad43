#pragma once
// One sheet's records: cells, rows and columns, merged ranges, page set-up and comments.
#include <cstddef>
#include <vector>

#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"
#include "workbook/xls/sheet_context.h"

namespace kx::workbook::detail {

// Reads the sheet whose BOF record starts at `offset` into `sheet` (whose name, kind and
// visibility are already set) and returns the stream offset just past its EOF record. A sheet
// that the end of the stream cuts short keeps what was read before, with a warning; the offset
// returned is then the stream's size. Texts of labels and formula results are appended to `strings`.
size_t readSheet(Bytes stream, size_t offset, const SheetContext& context, Sheet& sheet,
                 std::vector<RichText>& strings);

}  // namespace kx::workbook::detail
