#include "reader_test_support.h"

#include "workbook/xls/reader.h"

namespace kx::testing {

workbook::ErrorCode failureOf(const std::vector<std::byte>& file)
{
    try {
        workbook::loadWorkbook(file);
    } catch (const workbook::WorkbookError& error) {
        return error.code();
    }
    return workbook::ErrorCode{};
}

}  // namespace kx::testing
