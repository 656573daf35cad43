#include "conversion/driver.h"
#include "conversion/printer_selection.h"
#include "errors/report_error.h"

namespace kx::conversion {

JobServices installedJobServices()
{
    return {
        .locateGhostscript = [] { return LocateGhostscript(); },
        .printerCheckAllowsJob = [](automation::Application& application) {
            return CheckPrinter(application) == PrinterCheck::GoOn;
        },
        .runFirstPass = RunFirstPass,
        .runSecondPass = RunSecondPass,
        .runPdfAPass = RunPdfAPass,
        .reportError = errors::ReportError,
    };
}

}  // namespace kx::conversion
