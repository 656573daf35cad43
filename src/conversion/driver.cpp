#include "conversion/driver.h"

#include <glib.h>

#include "conversion/automation_page_setup.h"
#include "conversion/printer_selection.h"
#include "platform/copy_replace.h"
#include "platform/filesystem.h"
#include "platform/folder_lock.h"
#include "platform/ui.h"
#include "workbook/error.h"

namespace kx::conversion {
namespace {

void showDriverMessage(const std::string& text, platform::MessageIcon icon)
{
    platform::ui().showMessage({.text = text, .title = kDriverMessageTitle, .icon = icon});
}

std::string upperCase(const std::string& text)
{
    gchar* upper = g_utf8_strup(text.c_str(), static_cast<gssize>(text.size()));
    std::string result = upper ? upper : text;
    g_free(upper);
    return result;
}

}  // namespace

ConversionDriver::ConversionDriver(automation::ApplicationFactory& applications, const ConversionOptions& options,
                                   JobRows& rows, std::string workspaceFolder, JobServices services)
    : applications_(applications), options_(options), rows_(rows), workspace_(std::move(workspaceFolder)),
      services_(std::move(services))
{
}

JobResult ConversionDriver::ConvertWorkbook(const std::string& source, const std::string& target, std::int16_t row,
                                            std::int16_t worksheet)
{
    // The engine's own PDF needs no Ghostscript.
    const bool direct = options_.pdfRoute() == PdfRoute::Direct;
    std::optional<std::string> ghostscript;
    if (!direct && !(ghostscript = services_.locateGhostscript()))
        return {JobOutcome::ConverterMissing};
    try {
        createApplication(row);
        automation::Workbook& workbook = application_->openWorkbook(source);
        automation::Worksheet& sheet = workbook.worksheet(worksheet);

        // Held to the end of the job, so that a second running program cannot mix its files with ours.
        const bool workspaceReady = platform::ensureFolder(workspace_);
        const platform::FolderLock lock(workspace_);
        if (!workspaceReady || !lock.held() || !clearWorkspace()) {
            const JobOutcome outcome = failToCreatePdf(row);
            finishJob(workbook);
            return {outcome};
        }
        if (!services_.printerCheckAllowsJob(*application_)) {
            finishJob(workbook);
            return {JobOutcome::Stopped};
        }
        const std::string savedPrinter = SaveActivePrinter(*application_);
        automation::applyPageSetup(sheet, options_);
        automation::PrintOutArguments print
            = automation::conversionPrintOut(options_, workspaceFile(direct ? kFinishedPdfFile : kPostScriptFile));
        print.printPdf = direct;
        application_->activeWorkbook().printOut(print);
        RestoreActivePrinter(*application_, savedPrinter);

        const JobOutcome outcome = direct ? deliver(target, row) : renderAndDeliver(*ghostscript, target, row);
        finishJob(workbook);
        return {outcome};
    } catch (const automation::Failure& failure) {
        // Only a second failed creation leaves no application behind; that one is the caller's.
        if (failure.number() == automation::kCannotCreateObject && !application_)
            throw;
        return handleFault(row);
    } catch (...) {
        return handleFault(row);
    }
}

// A first failure to create the application marks the row and tries once more; a second
// one leaves the job to the caller.
void ConversionDriver::createApplication(std::int16_t row)
{
    application_.reset();
    try {
        application_ = applications_.createApplication();
    } catch (const automation::Failure& failure) {
        if (failure.number() != automation::kCannotCreateObject)
            throw;
        rows_.setStatus(row, kStatusFailed);
        application_ = applications_.createApplication();
    }
}

// Files an earlier job left behind must never pass for this job's output.
bool ConversionDriver::clearWorkspace() const
{
    for (const char* name : {kPostScriptFile, kIntermediatePdfFile, kFinishedPdfFile}) {
        if (!platform::removeFile(workspaceFile(name)))
            return false;
    }
    return true;
}

JobOutcome ConversionDriver::renderAndDeliver(const std::string& ghostscript, const std::string& target,
                                              std::int16_t row)
{
    // The print holds only the pages asked for, so one pass makes the whole archival file.
    if (options_.pdfRoute() == PdfRoute::PdfA)
        return services_.runPdfAPass(ghostscript, workspace_) ? deliver(target, row) : failToCreatePdf(row);
    const PageSelection selection = options_.allPages() ? PageSelection::AllPages : PageSelection::Range;
    if (!services_.runFirstPass(ghostscript, workspace_, selection)) {
        platform::removeFile(workspaceFile(kIntermediatePdfFile));
        return failToCreatePdf(row);
    }
    if (selection == PageSelection::Range)
        services_.runSecondPass(ghostscript, workspace_, "1", rangeKeptBySecondPass());

    platform::removeFile(workspaceFile(kIntermediatePdfFile));
    return deliver(target, row);
}

JobOutcome ConversionDriver::deliver(const std::string& target, std::int16_t row)
{
    if (!FinishedPdfExists(workspace_))
        return failToCreatePdf(row);

    if (!platform::replaceFileWithCopy(workspaceFile(kFinishedPdfFile), target))
        throw errors::RunTimeError(errors::kPathFileAccessError, "Path/File access error: " + target);
    rows_.setStatus(row, kStatusCompleted);
    showDriverMessage(upperCase(rows_.fileName(row)) + kSuccessSuffix, platform::MessageIcon::Information);
    if (options_.openAfterConversion())
        platform::ui().openWithDesktop(target);
    return JobOutcome::Completed;
}

// The print already holds only the pages of the range, so the second pass keeps all of them:
// cutting the range again would count its pages from the wrong start.
std::string ConversionDriver::rangeKeptBySecondPass() const
{
    const int first = automation::pageNumberFromText(options_.fromPageText());
    const int last = automation::pageNumberFromText(options_.toPageText());
    return std::to_string(last - first + 1);
}

JobOutcome ConversionDriver::failToCreatePdf(std::int16_t row)
{
    rows_.setStatus(row, kStatusFailed);
    showDriverMessage(kFailedToCreatePdfMessage, platform::MessageIcon::Critical);
    return JobOutcome::Failed;
}

void ConversionDriver::finishJob(automation::Workbook& workbook)
{
    workbook.close();
    application_->quit();
    application_.reset();
}

JobResult ConversionDriver::handleFault(std::int16_t row)
{
    const errors::ErrorInfo fault =
        errors::describeFailure<automation::Failure, workbook::WorkbookError>(std::current_exception());
    rows_.setStatus(row, kStatusFailed);
    if (application_) {
        try {
            application_->quit();
        } catch (...) {
            // The application is dropped either way; its own failure to quit changes nothing.
        }
        application_.reset();
    }
    services_.reportError(fault.number, fault.description, kDriverErrorSource);
    return {JobOutcome::Failed, fault};
}

std::string ConversionDriver::workspaceFile(const char* name) const
{
    return platform::joinPath(workspace_, name);
}

}  // namespace kx::conversion
