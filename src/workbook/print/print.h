#pragma once
// Printing a workbook to PostScript, as a spreadsheet program prints it through a PostScript printer.
#include <optional>
#include <string>

#include "workbook/model/error.h"
#include "workbook/print/font_preparation.h"
#include "workbook/model/model.h"

namespace kx::workbook {

struct PrintJob {
    std::string outputPath;             // the PostScript file to write
    std::optional<int> fromPage;        // 1-based, counted over the whole print
    std::optional<int> toPage;
    std::string documentTitle;          // the workbook's file name, for &F in headers
};

// Prints every visible worksheet in order, each with its own page set-up.
// Throws WorkbookError (NothingToPrint when no sheet has anything to print, PrintFailed
// when the file cannot be written). Writes to a temporary name and renames it into place.
void printWorkbook(const Workbook& workbook, const PrintJob& job);

// Setting a zoom turns fitting to pages off, as in the spreadsheet program.
void setZoom(PageSetup& setup, int percent);

}  // namespace kx::workbook
