#include "conversion/driver.h"
#include "conversion/printer_selection.h"
#include "errors/report_error.h"

#include <thread>

namespace kx::conversion {

JobServices installedJobServices(PassTimeLimit ghostscriptLimit)
{
    return {
        .locateGhostscript = [] { return LocateGhostscript(); },
        .printerCheckAllowsJob = [](automation::Application& application) {
            return CheckPrinter(application) == PrinterCheck::GoOn;
        },
        .runFirstPass = [ghostscriptLimit](const std::string& ghostscript, const std::string& workspace,
                                           PageSelection selection) {
            return RunFirstPass(ghostscript, workspace, selection, ghostscriptLimit);
        },
        .runSecondPass = [ghostscriptLimit](const std::string& ghostscript, const std::string& workspace,
                                            const std::string& from, const std::string& to) {
            return RunSecondPass(ghostscript, workspace, from, to, ghostscriptLimit);
        },
        .runPdfAPass = [ghostscriptLimit](const std::string& ghostscript, const std::string& workspace) {
            return RunPdfAPass(ghostscript, workspace, ghostscriptLimit);
        },
        .pauseForWorkspace = [] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); },
        .reportError = errors::ReportError,
    };
}

}  // namespace kx::conversion
