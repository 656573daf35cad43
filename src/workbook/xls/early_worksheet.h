#pragma once
// Worksheets of Excel 2.1, 3.0 and 4.0: one sheet written as a plain record stream, with no
// compound file around it and no workbook globals. They are read by writing them out as an
// Excel 5.0/95 workbook of one sheet, whose reading brings them into the model.
#include <cstddef>
#include <span>
#include <vector>

namespace kx::workbook::detail {

// True when the file starts with the BOF record of an Excel 2.1 to 4.0 worksheet.
bool isEarlyWorksheet(std::span<const std::byte> file);

// The worksheet as an Excel 5.0/95 workbook stream. Throws ReadFailure (Corrupt) for records
// that cannot be what they claim to be.
std::vector<std::byte> earlyWorksheetAsBiff5(std::span<const std::byte> file);

}  // namespace kx::workbook::detail
