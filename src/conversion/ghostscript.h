#pragma once
// Ghostscript turns the PostScript print into the PDF: where it is found, the command line of
// each pass, and running the passes in the workspace folder.
#include <optional>
#include <string>

namespace kx::conversion {

inline constexpr const char* kGhostscriptKey = "SOFTWARE\\GS";
inline constexpr const char* kGhostscriptValue = "GSPath";
inline constexpr const char* kPostScriptFile = "PsFile.ps";
inline constexpr const char* kIntermediatePdfFile = "PdfFiletemp.pdf";
inline constexpr const char* kFinishedPdfFile = "PdfFile.pdf";
inline constexpr const char* kConverterMissingMessage =
    "Converter is missing or corrupted. Please contact our Support Team.";

enum class PageSelection { AllPages, Range };

// The Ghostscript path recorded in the machine store, every NUL removed. When no file is there,
// shows the converter-missing message and ends the program; the result is empty only when the
// program end was intercepted (tests), and the caller must then stop.
std::optional<std::string> LocateGhostscript();

// All pages: PsFile.ps into PdfFile.pdf; range: PsFile.ps into PdfFiletemp.pdf.
std::string BuildFirstPassCommandLine(
    const std::string& ghostscriptPath, const std::string& workspacePath, PageSelection selection);
// PdfFiletemp.pdf into PdfFile.pdf, keeping the pages `fromText` to `toText` as typed.
std::string BuildSecondPassCommandLine(const std::string& ghostscriptPath, const std::string& workspacePath,
    const std::string& fromText, const std::string& toText);

// Each pass runs Ghostscript in the workspace folder, hidden, at high priority, without a time
// limit, and answers true when Ghostscript could be started. A pass never leaves an output
// file it did not finish: its output is removed before it starts and again when Ghostscript
// fails, since a failing Ghostscript can leave a blank or partial PDF behind. The first pass
// also removes an earlier job's PdfFile.pdf, so that it cannot pass for this job's result.
bool RunFirstPass(const std::string& ghostscriptPath, const std::string& workspacePath, PageSelection selection);
bool RunSecondPass(const std::string& ghostscriptPath, const std::string& workspacePath,
    const std::string& fromText, const std::string& toText);

// PsFile.ps into PdfFile.pdf as PDF/A-2b (see pdfa.h), in the same way as the first pass.
bool RunPdfAPass(const std::string& ghostscriptPath, const std::string& workspacePath);

// The rendering succeeded exactly when PdfFile.pdf is in the workspace folder.
bool FinishedPdfExists(const std::string& workspacePath);

}  // namespace kx::conversion
