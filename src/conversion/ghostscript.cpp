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

std::string inWholeSeconds(std::chrono::milliseconds span)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span).count();
    return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

std::string failureOf(const platform::ProcessResult& ended, const std::string& ghostscriptPath, PassTimeLimit limit)
{
    switch (ended.end) {
    case platform::ProcessEnd::NotStarted:
        return "Ghostscript could not be started from " + ghostscriptPath;
    case platform::ProcessEnd::Exited:
        return ended.exitCode == 0 ? std::string() : "Ghostscript failed with exit code " + std::to_string(ended.exitCode);
    case platform::ProcessEnd::Signalled:
        return "Ghostscript was ended by signal " + std::to_string(ended.exitCode);
    case platform::ProcessEnd::EndedAtLimit:
        return "Ghostscript did not finish within " + inWholeSeconds(limit.value_or(std::chrono::milliseconds(0)))
            + " and was stopped";
    case platform::ProcessEnd::StillRunning:
        break;
    }
    return "Ghostscript did not finish";
}

PassOutcome runPass(const std::string& ghostscriptPath, const std::string& commandLine,
    const std::string& workspacePath, const char* outputName, PassTimeLimit limit)
{
    const std::string output = platform::joinPath(workspacePath, outputName);
    platform::removeFile(output);
    const std::int32_t waitTime = limit ? static_cast<std::int32_t>(limit->count()) : kWaitWithoutLimit;
    platform::ProcessResult ended;
    const bool started = RunProcessAndWait(commandLine, workspacePath, waitTime, kHiddenWindow, kHighPriorityClass,
        &ended, AtWaitLimit::EndProcessGroup);
    if (started && !ended.succeeded())
        platform::removeFile(output);
    return { started, failureOf(ended, ghostscriptPath, limit) };
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

PassOutcome RunFirstPass(const std::string& ghostscriptPath, const std::string& workspacePath,
    PageSelection selection, PassTimeLimit limit)
{
    platform::removeFile(platform::joinPath(workspacePath, kFinishedPdfFile));
    return runPass(ghostscriptPath, BuildFirstPassCommandLine(ghostscriptPath, workspacePath, selection),
        workspacePath, firstPassOutput(selection), limit);
}

PassOutcome RunSecondPass(const std::string& ghostscriptPath, const std::string& workspacePath,
    const std::string& fromText, const std::string& toText, PassTimeLimit limit)
{
    return runPass(ghostscriptPath, BuildSecondPassCommandLine(ghostscriptPath, workspacePath, fromText, toText),
        workspacePath, kFinishedPdfFile, limit);
}

PassOutcome RunPdfAPass(const std::string& ghostscriptPath, const std::string& workspacePath, PassTimeLimit limit)
{
    platform::removeFile(platform::joinPath(workspacePath, kFinishedPdfFile));
    if (!WritePdfADefinition(workspacePath))
        return { false, "the PDF/A definition cannot be written to the workspace folder " + workspacePath };
    return runPass(ghostscriptPath, BuildPdfACommandLine(ghostscriptPath, workspacePath), workspacePath,
        kFinishedPdfFile, limit);
}

bool removeWorkspaceFiles(const std::string& workspacePath)
{
    bool removed = true;
    for (const char* name : { kPostScriptFile, kIntermediatePdfFile, kFinishedPdfFile, kPdfADefinitionFile })
        removed = platform::removeFile(platform::joinPath(workspacePath, name)) && removed;
    return removed;
}


bool FinishedPdfExists(const std::string& workspacePath)
{
    return platform::ordinaryFileExists(platform::joinPath(workspacePath, kFinishedPdfFile));
}

}  // namespace kx::conversion
