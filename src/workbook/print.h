#pragma once
// Printing a workbook to PostScript, as a spreadsheet program prints it through a PostScript printer.
#include <optional>
#include <string>

#include "workbook/error.h"
#include "workbook/model.h"

namespace kx::workbook {

enum class PrintFormat { PostScript, Pdf };

struct PrintJob {
    std::string outputPath;             // the file to write
    PrintFormat format = PrintFormat::PostScript;
    std::optional<int> fromPage;        // 1-based, counted over the whole print
    std::optional<int> toPage;
    std::string documentTitle;          // the workbook's file name, for &F in headers
    std::string creator;                // the program that makes the document, for its information
};

// Prints every visible worksheet in order, each with its own page set-up, with a bookmark at the
// first printed page of each sheet and the document information of the workbook's summary (its
// title, else the file name, as the document's title).
// Throws WorkbookError (NothingToPrint when no sheet has anything to print, PrintFailed
// when the file cannot be written). Writes to a temporary name and renames it into place.
void printWorkbook(const Workbook& workbook, const PrintJob& job);

// Shared: something else in the program (a window toolkit) may use the font configuration too,
// and the configuration loads as fontconfig itself loads it. Alone: prints are the program's only
// users of fonts, and the configuration loads without the files fontconfig reads only to list
// them. It must then start before anything else in the program touches fontconfig.
enum class FontLoading { Shared, Alone };
// Starts reading the system's font configuration in the background, so that it overlaps what
// the caller does before its first print (opening the workbook). Printing without it does the
// same reading at its first text.
void prepareFonts(FontLoading loading);

// Setting a zoom turns fitting to pages off, as in the spreadsheet program.
void setZoom(PageSetup& setup, int percent);

}  // namespace kx::workbook
