#pragma once
// Printing a workbook to PostScript, as a spreadsheet program prints it through a PostScript printer.
#include <optional>
#include <string>

#include "workbook/error.h"
#include "workbook/model.h"

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

// Starts reading the system's font configuration in the background for prints made on the
// calling thread, so that it overlaps what the caller does before its first print (opening the
// workbook). Printing without it does the same reading at its first text, and waits for it.
void prepareFonts();

// Setting a zoom turns fitting to pages off, as in the spreadsheet program.
void setZoom(PageSetup& setup, int percent);

}  // namespace kx::workbook
