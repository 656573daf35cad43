#pragma once
// Excel 5.0/95 workbooks, read by rewriting their stream in the Excel 97-2003 layout: the same
// records with texts in UTF-16, cell formats and names in the newer form, and comments as the
// objects and text records that hold them now. Chart sheets keep their charts; embedded charts
// and drawings, placed by the older objects, are left out. Everything else reads into the same
// model as a newer workbook.
#include <cstddef>
#include <vector>

#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// True when the stream starts with the BOF record of Excel 5.0/95, whose version some writers
// leave at zero or another odd value; the newer BOF is longer and says 0x0600.
bool isBiff5Stream(Bytes stream);

// Throws ReadFailure (Corrupt) for records that cannot be what they claim to be.
std::vector<std::byte> upgradeBiff5Stream(Bytes stream);

}  // namespace kx::workbook::detail
