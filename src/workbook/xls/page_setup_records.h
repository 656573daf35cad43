#pragma once
// The page set-up records of a sheet.
#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// Reads `record` into `setup` when it is a page set-up record; false for any other record.
// Values outside what the spreadsheet program accepts are replaced by its defaults.
bool readPageSetupRecord(const Record& record, PageSetup& setup);

}  // namespace kx::workbook::detail
