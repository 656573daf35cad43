#include "conversion/driver.h"

#include <cerrno>
#include <cstring>

#include <glib.h>

#include "conversion/automation_page_setup.h"
#include "conversion/printer_selection.h"
#include "platform/file_replace.h"
#include "platform/filesystem.h"
#include "platform/ui.h"
#include "workbook/model/error.h"

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

// A workbook of chart sheets alone has no worksheet to take the page set-up: it prints with the
// set-up its sheets store, as the spreadsheet program prints it.
automation::Worksheet* worksheetToSetUp(automation::Workbook& workbook, std::int16_t number)
{
    return workbook.worksheetCount() == 0 ? nullptr : &workbook.worksheet(number);
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
        return {JobOutcome::ConverterMissing, {}, "Ghostscript was not found where the machine store's GSPath names it"};
    try {
        createApplication(row);
        automation::Workbook& workbook = application_->openWorkbook(source);
        automation::Worksheet* sheet = worksheetToSetUp(workbook, worksheet);

        // Held to the end of the job, so that a second running program cannot mix its files with ours.
        platform::FolderLock lock(workspace_);
        if (const std::optional<std::string> unusable = prepareWorkspace(lock)) {
            JobResult result = failToCreatePdf(row, *unusable);
            finishJob(workbook);
            return result;
        }
        if (!services_.printerCheckAllowsJob(*application_)) {
            finishJob(workbook);
            return {JobOutcome::Stopped, {}, "no PostScript printer is installed for the conversion"};
        }
        const std::string savedPrinter = SaveActivePrinter(*application_);
        automation::setUpWorkbook(workbook, sheet, options_);
        automation::PrintOutArguments print
            = automation::conversionPrintOut(options_, workspaceFile(direct ? kFinishedPdfFile : kPostScriptFile));
        print.printPdf = direct;
        application_->activeWorkbook().printOut(print);
        RestoreActivePrinter(*application_, savedPrinter);

        JobResult result = direct ? deliver(target, row, "the print made no PDF")
                                  : renderAndDeliver(*ghostscript, target, row);
        finishJob(workbook);
        return result;
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

// Waits while another running program converts there, then clears what an earlier job left
// behind, which must never pass for this job's output. Why the folder cannot be used, if it cannot.
std::optional<std::string> ConversionDriver::prepareWorkspace(platform::FolderLock& lock) const
{
    if (!platform::ensureFolder(workspace_))
        return "the workspace folder " + workspace_ + " cannot be created";
    const auto waitStart = std::chrono::steady_clock::now();
    while (!lock.tryAgain()) {
        if (std::chrono::steady_clock::now() - waitStart >= services_.workspaceWaitLimit)
            return "another running conversion kept the workspace folder " + workspace_ + " busy too long";
        services_.pauseForWorkspace();
    }
    if (!removeWorkspaceFiles(workspace_))
        return "the files of an earlier job cannot be removed from the workspace folder " + workspace_;
    return std::nullopt;
}

JobResult ConversionDriver::renderAndDeliver(const std::string& ghostscript, const std::string& target,
                                             std::int16_t row)
{
    // The print holds only the pages asked for, so one pass makes the whole archival file.
    if (options_.pdfRoute() == PdfRoute::PdfA) {
        const PassOutcome pass = services_.runPdfAPass(ghostscript, workspace_);
        if (!pass.started)
            return failToCreatePdf(row, pass.failure);
        return deliver(target, row, pass.failure.empty() ? "Ghostscript made no PDF" : pass.failure);
    }
    const PageSelection selection = options_.allPages() ? PageSelection::AllPages : PageSelection::Range;
    const PassOutcome first = services_.runFirstPass(ghostscript, workspace_, selection);
    if (!first.started) {
        platform::removeFile(workspaceFile(kIntermediatePdfFile));
        return failToCreatePdf(row, first.failure);
    }
    PassOutcome second;
    if (selection == PageSelection::Range)
        second = services_.runSecondPass(ghostscript, workspace_, "1", rangeKeptBySecondPass());

    platform::removeFile(workspaceFile(kIntermediatePdfFile));
    const std::string& failure = !first.failure.empty() ? first.failure : second.failure;
    return deliver(target, row, failure.empty() ? "Ghostscript made no PDF" : failure);
}

JobResult ConversionDriver::deliver(const std::string& target, std::int16_t row, const std::string& whyMissing)
{
    if (!FinishedPdfExists(workspace_))
        return failToCreatePdf(row, whyMissing);

    if (!platform::replaceFileWithCopy(workspaceFile(kFinishedPdfFile), target))
        throw errors::RunTimeError(errors::kPathFileAccessError,
                                   "Path/File access error: " + target + " cannot be written (" + std::strerror(errno) + ")");
    rows_.setStatus(row, kStatusCompleted);
    showDriverMessage(upperCase(rows_.fileName(row)) + kSuccessSuffix, platform::MessageIcon::Information);
    if (options_.openAfterConversion())
        platform::ui().openWithDesktop(target);
    return {JobOutcome::Completed};
}

// The print already holds only the pages of the range, so the second pass keeps all of them:
// cutting the range again would count its pages from the wrong start.
std::string ConversionDriver::rangeKeptBySecondPass() const
{
    const int first = automation::pageNumberFromText(options_.fromPageText());
    const int last = automation::pageNumberFromText(options_.toPageText());
    return std::to_string(last - first + 1);
}

JobResult ConversionDriver::failToCreatePdf(std::int16_t row, std::string reason)
{
    rows_.setStatus(row, kStatusFailed);
    showDriverMessage(kFailedToCreatePdfMessage, platform::MessageIcon::Critical);
    return {JobOutcome::Failed, {}, std::move(reason)};
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
    return {JobOutcome::Failed, fault, faultReason(fault)};
}

void clearWorkspaceAtExit(const std::string& workspace)
{
    if (platform::FolderLock::heldHere(workspace)) {
        removeWorkspaceFiles(workspace);
        return;
    }
    const platform::FolderLock lock(workspace);
    if (lock.held())
        removeWorkspaceFiles(workspace);
}

std::string faultReason(const errors::ErrorInfo& fault)
{
    return fault.description + " (error " + std::to_string(fault.number) + ")";
}

std::string ConversionDriver::workspaceFile(const char* name) const
{
    return platform::joinPath(workspace_, name);
}

}  // namespace kx::conversion
