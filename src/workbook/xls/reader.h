#pragma once
// Opening workbooks. Loading from bytes is the core; opening a file reads it whole first.
#include <cstddef>
#include <span>
#include <string>

#include "workbook/model/error.h"
#include "workbook/model/model.h"

namespace kx::workbook {

// Both throw WorkbookError, naming the file (or "the workbook" for bytes) and the reason.
Workbook loadWorkbook(std::span<const std::byte> fileBytes, const std::string& displayName = "the workbook");
Workbook openWorkbook(const std::string& path);

}  // namespace kx::workbook
