#pragma once
// Ghostscript turns the PostScript print into the PDF: where it is found, the command line of
// each pass, and running the passes in the workspace folder.
#include <chrono>
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

// How a pass went: whether Ghostscript could be started, and if it did not end well, why.
struct PassOutcome {
    bool started = false;
    std::string failure;  // in words for the user; empty when Ghostscript ended well
};

// Without a time limit, a pass waits for Ghostscript however long it takes; with one, it ends
// Ghostscript and everything Ghostscript started once the limit has passed.
using PassTimeLimit = std::optional<std::chrono::milliseconds>;

// Each pass runs Ghostscript in the workspace folder, hidden, at high priority. A pass never
// leaves an output file it did not finish: its output is removed before it starts and again
// when Ghostscript fails, since a failing Ghostscript can leave a blank or partial PDF behind.
// The first pass also removes an earlier job's PdfFile.pdf, so that it cannot pass for this
// job's result.
PassOutcome RunFirstPass(const std::string& ghostscriptPath, const std::string& workspacePath,
    PageSelection selection, PassTimeLimit limit = {});
PassOutcome RunSecondPass(const std::string& ghostscriptPath, const std::string& workspacePath,
    const std::string& fromText, const std::string& toText, PassTimeLimit limit = {});
// PsFile.ps into PdfFile.pdf as PDF/A-2b (see pdfa.h), in the same way as the first pass; not
// started when the file that defines the output intent cannot be written.
PassOutcome RunPdfAPass(const std::string& ghostscriptPath, const std::string& workspacePath, PassTimeLimit limit = {});

// Removes the job files (PsFile.ps, PdfFiletemp.pdf, PdfFile.pdf, PdfA.ps) from the workspace folder;
// true when none is left there.
bool removeWorkspaceFiles(const std::string& workspacePath);


// The rendering succeeded exactly when PdfFile.pdf is in the workspace folder.
bool FinishedPdfExists(const std::string& workspacePath);

}  // namespace kx::conversion
