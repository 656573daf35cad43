#pragma once
// Custom views: a sheet may carry saved views, each with a print set-up of its own (header,
// footer, paper, margins, page breaks) between a USERSVIEWBEGIN and a USERSVIEWEND record.
// Those records describe the view, not the sheet, and must not be read as the sheet's.
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

class CustomViewSkipper {
public:
    // True when `record` belongs to a custom view, its first and last records included. A view
    // left without its end record ends at the first record that no view holds.
    bool belongsToView(const Record& record);

private:
    bool inView_ = false;
};

}  // namespace kx::workbook::detail
