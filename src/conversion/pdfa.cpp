#include "conversion/pdfa.h"

#include <fstream>

#include "conversion/ghostscript.h"
#include "platform/filesystem.h"

namespace kx::conversion {
namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

}  // namespace

bool WritePdfADefinition(const std::string& workspacePath)
{
    std::ofstream file(platform::joinPath(workspacePath, kPdfADefinitionFile), std::ios::trunc);
    // The profile's path holds no character that a PostScript string would have to escape.
    file << "%!\n"
            "[/_objdef {kxProfile} /type /stream /OBJ pdfmark\n"
            "[{kxProfile} <</N 3>> /PUT pdfmark\n"
            "[{kxProfile} (" << kSrgbProfile << ") (r) file /PUT pdfmark\n"
            "[/_objdef {kxIntent} /type /dict /OBJ pdfmark\n"
            "[{kxIntent} <</Type /OutputIntent /S /GTS_PDFA1 /DestOutputProfile {kxProfile}"
            " /OutputConditionIdentifier (sRGB)>> /PUT pdfmark\n"
            "[{Catalog} <</OutputIntents [{kxIntent}]>> /PUT pdfmark\n";
    file.close();
    return !file.fail();
}

std::string BuildPdfACommandLine(const std::string& ghostscriptPath, const std::string& workspacePath)
{
    // Safe mode reads only the files named here; the definition opens the profile itself.
    return ghostscriptPath + " -dSAFER -dNOPAUSE -dBATCH -dQUIET --permit-file-read=" + quoted(folderOf(kSrgbProfile)) +
           " -sDEVICE=pdfwrite -dPDFA=2 -dPDFACompatibilityPolicy=1 -sColorConversionStrategy=RGB -sOutputFile=" +
           quoted(platform::joinPath(workspacePath, kFinishedPdfFile)) + " " +
           quoted(platform::joinPath(workspacePath, kPdfADefinitionFile)) + " " +
           quoted(platform::joinPath(workspacePath, kPostScriptFile));
}

}  // namespace kx::conversion
