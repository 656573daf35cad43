#pragma once
// Printing a workbook to PostScript, as a spreadsheet program prints it through a PostScript
// printer, or straight to PDF from the same drawing.
#include <optional>
#include <string>

#include "workbook/model/error.h"
#include "workbook/print/font_preparation.h"
#include "workbook/model/model.h"

namespace kx::workbook {

enum class PrintFormat { PostScript, Pdf };

struct PrintJob {
    std::string outputPath;             // the file to write
    PrintFormat format = PrintFormat::PostScript;
    std::optional<int> fromPage;        // 1-based, counted over the whole print
    std::optional<int> toPage;
    std::string documentTitle;          // the workbook's file name, for &F in headers
    std::string creator;                // the program that makes the document, for its information
    LoadWarnings* warnings = nullptr;   // told of each picture a drawing shows that cannot be drawn
};

// Prints every visible worksheet in order, each with its own page set-up, with a bookmark at the
// first printed page of each sheet and the document information of the workbook's summary (its
// title, else the file name, as the document's title).
// Throws WorkbookError (NothingToPrint when no sheet has anything to print, PrintFailed
// when the file cannot be written). Writes to a temporary name and renames it into place.
void printWorkbook(const Workbook& workbook, const PrintJob& job);

// Setting a zoom turns fitting to pages off, as in the spreadsheet program.
void setZoom(PageSetup& setup, int percent);

}  // namespace kx::workbook
