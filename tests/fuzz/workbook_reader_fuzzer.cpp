// Feeds the workbook reader with damaged workbooks: every input must load or end in
// WorkbookError, never crash, hang or take memory out of proportion to its size.
#include <cstddef>
#include <cstdint>
#include <span>

#include "workbook/model/error.h"
#include "workbook/xls/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        kx::workbook::loadWorkbook(std::as_bytes(std::span(data, size)), "fuzz input");
    } catch (const kx::workbook::WorkbookError&) {
    }
    return 0;
}
