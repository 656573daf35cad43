#pragma once
// Taking the workbook stream out of an OLE2 compound file.
#include <cstddef>
#include <span>
#include <vector>

#include "workbook/model/model.h"

namespace kx::workbook::detail {

struct WorkbookStream {
    std::vector<std::byte> bytes;
    bool namedBook = false;  // the Excel 5/95 name "Book" rather than "Workbook"
    DocumentSummary summary;
};

// Throws ReadFailure: NotAWorkbook for files that are no compound file or hold no workbook
// stream, Unsupported for other spreadsheet formats recognised by their first bytes.
WorkbookStream extractWorkbookStream(std::span<const std::byte> fileBytes);

}  // namespace kx::workbook::detail
