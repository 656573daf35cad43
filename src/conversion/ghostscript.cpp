#include "conversion/ghostscript.h"

#include <algorithm>
#include <cstdlib>

#include "config/registry.h"
#include "conversion/pdfa.h"
#include "conversion/process_runner.h"
#include "platform/filesystem.h"
#include "platform/program_end.h"
#include "platform/ui.h"

namespace kx::conversion {
namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

// What follows the output file in both passes: the PDF level, then the input file.
std::string inputArguments(const std::string& workspacePath, const char* inputName)
{
    return " -dCompatibilityLevel=1.4 -f " + quoted(platform::joinPath(workspacePath, inputName));
}

const char* firstPassOutput(PageSelection selection)
{
    return selection == PageSelection::Range ? kIntermediatePdfFile : kFinishedPdfFile;
}

bool runPass(const std::string& commandLine, const std::string& workspacePath, const char* outputName)
{
    const std::string output = platform::joinPath(workspacePath, outputName);
    platform::removeFile(output);
    platform::ProcessResult ended;
    const bool started
        = RunProcessAndWait(commandLine, workspacePath, kWaitWithoutLimit, kHiddenWindow, kHighPriorityClass, &ended);
    if (started && !ended.succeeded())
        platform::removeFile(output);
    return started;
}

}  // namespace

std::optional<std::string> LocateGhostscript()
{
    std::string path
        = config::ReadRegistryValue(config::RegistryRoot::LocalMachine, kGhostscriptKey, kGhostscriptValue).text();
    path.erase(std::remove(path.begin(), path.end(), '\0'), path.end());
    if (platform::ordinaryFileExists(path))
        return path;
    platform::ui().showMessage({ .text = kConverterMissingMessage,
        .title = platform::kApplicationTitle,
        .icon = platform::MessageIcon::Critical });
    platform::endProgram(EXIT_FAILURE);
    return std::nullopt;
}

std::string BuildFirstPassCommandLine(
    const std::string& ghostscriptPath, const std::string& workspacePath, PageSelection selection)
{
    return ghostscriptPath + " -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sOutputFile="
        + quoted(platform::joinPath(workspacePath, firstPassOutput(selection)))
        + inputArguments(workspacePath, kPostScriptFile);
}

std::string BuildSecondPassCommandLine(const std::string& ghostscriptPath, const std::string& workspacePath,
    const std::string& fromText, const std::string& toText)
{
    return ghostscriptPath + " -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -dFirstPage=" + fromText
        + " -dLastPage=" + toText + " -sOutputFile=" + quoted(platform::joinPath(workspacePath, kFinishedPdfFile))
        + inputArguments(workspacePath, kIntermediatePdfFile);
}

bool RunFirstPass(const std::string& ghostscriptPath, const std::string& workspacePath, PageSelection selection)
{
    platform::removeFile(platform::joinPath(workspacePath, kFinishedPdfFile));
    return runPass(BuildFirstPassCommandLine(ghostscriptPath, workspacePath, selection), workspacePath,
        firstPassOutput(selection));
}

bool RunSecondPass(const std::string& ghostscriptPath, const std::string& workspacePath,
    const std::string& fromText, const std::string& toText)
{
    return runPass(BuildSecondPassCommandLine(ghostscriptPath, workspacePath, fromText, toText), workspacePath,
        kFinishedPdfFile);
}

bool RunPdfAPass(const std::string& ghostscriptPath, const std::string& workspacePath)
{
    platform::removeFile(platform::joinPath(workspacePath, kFinishedPdfFile));
    return WritePdfADefinition(workspacePath)
        && runPass(BuildPdfACommandLine(ghostscriptPath, workspacePath), workspacePath, kFinishedPdfFile);
}

bool FinishedPdfExists(const std::string& workspacePath)
{
    return platform::ordinaryFileExists(platform::joinPath(workspacePath, kFinishedPdfFile));
}

}  // namespace kx::conversion
