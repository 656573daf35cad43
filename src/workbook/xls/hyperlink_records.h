#pragma once
// The HLINK record: a range of cells and the hyperlink object behind it (the workbook's record
// with the hyperlink structure shared by Office files).
#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// Adds the record's link to the sheet when it leads to an address or a place in the workbook.
// A damaged record loses only its link: it changes nothing the sheet prints.
void readHyperlink(RecordReader& reader, Sheet& sheet);

}  // namespace kx::workbook::detail
