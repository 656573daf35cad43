#pragma once
// An archival PDF/A-2b file made by Ghostscript from the PostScript print: fonts embedded, and
// an sRGB output intent whose profile comes with Ghostscript (Debian's libgs-common).
#include <string>

namespace kx::conversion {

inline constexpr const char* kSrgbProfile = "/usr/share/color/icc/ghostscript/srgb.icc";
inline constexpr const char* kPdfADefinitionFile = "PdfA.ps";

// Writes the PostScript that gives the PDF its output intent, embedding the sRGB profile, into
// the workspace folder; false when it cannot.
bool WritePdfADefinition(const std::string& workspacePath);

// PsFile.ps, after the definition file, into PdfFile.pdf as PDF/A-2b.
std::string BuildPdfACommandLine(const std::string& ghostscriptPath, const std::string& workspacePath);

}  // namespace kx::conversion
