#pragma once
// The conversion of one job: open the workbook through the automation interface, apply the
// page set-up, print it to PostScript in the workspace folder, have Ghostscript make the PDF
// (or, on the direct route, print the PDF itself), copy it to the target and report the
// outcome in the job's row and in a message.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "conversion/automation.h"
#include "conversion/conversion_options.h"
#include "conversion/ghostscript.h"
#include "errors/failure.h"
#include "platform/folder_lock.h"

namespace kx::conversion {

inline constexpr const char* kStatusConverting = "Converting...";
inline constexpr const char* kStatusCompleted = "Completed";
inline constexpr const char* kStatusFailed = "Failed";

inline constexpr const char* kFailedToCreatePdfMessage = "Failed to create PDF.";
inline constexpr const char* kSuccessSuffix = " Converted Successfully.";
inline constexpr const char* kDriverMessageTitle = "Korvendal";
inline constexpr const char* kDriverErrorSource = "frmMain:cmdBrowse";

// The rows of the job list, as the driver sees them.
class JobRows {
public:
    virtual ~JobRows() = default;
    // Shows `status` in the row at once.
    virtual void setStatus(std::int16_t row, const std::string& status) = 0;
    // The row's workbook file name, as the list shows it.
    virtual std::string fileName(std::int16_t row) const = 0;
};

// The parts of a job that stand outside the automation interface; tests replace them.
struct JobServices {
    // The Ghostscript executable; nothing when it is missing and the program is to end.
    std::function<std::optional<std::string>()> locateGhostscript;
    // Checks the installed printers (showing its own messages); false stops the job.
    std::function<bool(automation::Application&)> printerCheckAllowsJob;
    // The two Ghostscript passes in the workspace folder; each says whether it could start.
    std::function<PassOutcome(const std::string& ghostscript, const std::string& workspace, PageSelection selection)>
        runFirstPass;
    std::function<PassOutcome(const std::string& ghostscript, const std::string& workspace, const std::string& from,
                              const std::string& to)> runSecondPass;
    // The one pass of the PDF/A route, PostScript into an archival PDF.
    std::function<PassOutcome(const std::string& ghostscript, const std::string& workspace)> runPdfAPass;
    // Pauses a moment while another running program converts in the workspace folder (the
    // desktop program keeps its window painted meanwhile); the job waits so at most
    // `workspaceWaitLimit`, then fails.
    std::function<void()> pauseForWorkspace;
    std::chrono::steady_clock::duration workspaceWaitLimit = std::chrono::minutes(10);
    // The program's error reporter.
    std::function<bool(std::int32_t code, const std::string& description, const std::string& source)> reportError;
};

// The services of the installed system: machine store, printer check, Ghostscript (given at
// most `ghostscriptLimit` a pass when one is set), error reporter.
JobServices installedJobServices(PassTimeLimit ghostscriptLimit = {});

enum class JobOutcome {
    Completed,
    Failed,
    Stopped,           // the printer check stopped the job; the row keeps "Converting..."
    ConverterMissing,  // no Ghostscript: the program is to end
};

struct JobResult {
    JobOutcome outcome = JobOutcome::Failed;
    std::optional<errors::ErrorInfo> fault;  // the failure handed to the error reporter, if any
    std::string reason;  // why the job did not complete, in the words both programs show; else empty
};

// Removes the job files from the workspace folder as the program ends, unless another running
// program is converting there.
void clearWorkspaceAtExit(const std::string& workspace);

// The reason a job gives for a failure that left it (as the error reporter receives it).
std::string faultReason(const errors::ErrorInfo& fault);

class ConversionDriver {
public:
    ConversionDriver(automation::ApplicationFactory& applications, const ConversionOptions& options, JobRows& rows,
                     std::string workspaceFolder, JobServices services = installedJobServices());

    // Converts the workbook at `source` into the PDF `target`, applying the page set-up to the
    // worksheet with the 1-based `worksheet` number. A second failure to create the application
    // object passes on to the caller as automation::Failure 429.
    JobResult ConvertWorkbook(const std::string& source, const std::string& target, std::int16_t row,
                              std::int16_t worksheet);

    const std::string& workspaceFolder() const { return workspace_; }

private:
    void createApplication(std::int16_t row);
    std::optional<std::string> prepareWorkspace(platform::FolderLock& lock) const;
    JobResult renderAndDeliver(const std::string& ghostscript, const std::string& target, std::int16_t row);
    // Copies the finished PDF to the target and reports success; without one, reports the
    // failure `whyMissing`.
    JobResult deliver(const std::string& target, std::int16_t row, const std::string& whyMissing);
    JobResult failToCreatePdf(std::int16_t row, std::string reason);
    std::string rangeKeptBySecondPass() const;
    void finishJob(automation::Workbook& workbook);
    JobResult handleFault(std::int16_t row);
    std::string workspaceFile(const char* name) const;

    automation::ApplicationFactory& applications_;
    const ConversionOptions& options_;
    JobRows& rows_;
    std::string workspace_;
    JobServices services_;
    // The application of the running job, as the window holds it.
    std::unique_ptr<automation::Application> application_;
};

}  // namespace kx::conversion
