#pragma once
// The workbook globals: the records before the first sheet that hold what all sheets share.
#include <cstdint>
#include <string>
#include <vector>

#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

struct SheetEntry {
    size_t streamOffset = 0;  // of the sheet's BOF record
    std::string name;
    SheetKind kind = SheetKind::Worksheet;
    Visibility visibility = Visibility::Visible;
};

// One entry of EXTERNSHEET: which referenced workbook, and the first sheet in it.
struct ExternSheetEntry {
    uint16_t supportingBook = 0;
    int16_t firstSheet = 0;
};

// A built-in name kept for the page set-up (print area, print titles).
struct BuiltinName {
    uint8_t code = 0;
    uint16_t sheetNumber = 0;  // 1-based; 0 for a name of the whole workbook
    std::vector<std::byte> formula;
};

struct Globals {
    Workbook workbook;  // fonts, formats, number formats, shared strings, palette, date system
    std::vector<SheetEntry> sheets;
    std::vector<bool> supportingBookIsThisWorkbook;
    std::vector<ExternSheetEntry> externSheets;
    std::vector<BuiltinName> builtinNames;
    size_t end = 0;  // stream offset just past the globals' EOF record
};

// Throws ReadFailure (Unsupported for other format versions, PasswordProtected, Corrupt).
Globals readGlobals(Bytes stream);

}  // namespace kx::workbook::detail
