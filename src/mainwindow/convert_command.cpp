#include <iostream>
#include <limits>
#include <stdexcept>

#include <QEventLoop>
#include <QLineEdit>
#include <QString>
#include <QTimer>
#include <QTreeWidget>

#include "conversion/engine_automation.h"
#include "errors/failure.h"
#include "mainwindow/main_window.h"
#include "mainwindow/numeric_text.h"
#include "mainwindow/window_conversion.h"
#include "platform/ui.h"
#include "workbook/model/error.h"
#include "workbook/model/model.h"

namespace kx::mainwindow {
namespace {

constexpr const char* kConvertErrorSource = "frmMain:Image9_Click";

// Keeps the busy pointer up for the command and puts the normal one back on every way out.
class BusyPointer {
public:
    BusyPointer() { platform::ui().showBusyPointer(); }
    ~BusyPointer() { platform::ui().restoreDefaultPointer(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// Shows a check's message and puts the focus on the field it names.
bool refuse(QLineEdit& field, const char* message)
{
    platform::ui().showMessage({.text = message,
                                .title = platform::kApplicationTitle,
                                .icon = platform::MessageIcon::Information});
    if (field.isEnabled())
        field.setFocus();
    return false;
}

// A nested event loop, so that the window stays painted while the job waits.
void pauseKeepingTheWindowPainted()
{
    constexpr int kPauseMilliseconds = 100;
    QEventLoop loop;
    QTimer::singleShot(kPauseMilliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// A failed row says why: as the tool tip of its status, and on standard error.
void noteFailureReason(JobList& jobs, int position, const std::string& reason)
{
    if (reason.empty())
        return;
    jobs.setStatusReason(position, QString::fromStdString(reason));
    const auto row = jobs.row(position);
    std::cerr << "korvendal-xl: " << (row ? row->strFileName.toStdString() + ": " : std::string()) << reason
              << std::endl;
}

std::int16_t rowNumber(int position)
{
    if (position > std::numeric_limits<std::int16_t>::max())
        throw std::overflow_error("Overflow");
    return static_cast<std::int16_t>(position);
}

// The option checks, in their order; only the first failing one is shown.
bool conversionOptionsAreValid(const MainWindowControls& c)
{
    if (!isNumericText(c.txtFrom->text()))
        return refuse(*c.txtFrom, "Please enter value in Page Range From field");
    if (!isNumericText(c.txtTo->text()))
        return refuse(*c.txtTo, "Please enter value in Page Range To field");
    const auto zoom = numericValue(c.txtAdjust->text());
    if (!zoom)
        return refuse(*c.txtAdjust, "Please enter valid value in Page Adjust field");
    if (*zoom < workbook::minimumZoom || *zoom > workbook::maximumZoom)
        return refuse(*c.txtAdjust, "Please enter value in range between 10 and 400 in Page Adjust field");
    return true;
}

}  // namespace

void MainWindow::cmdConvert_Click()
{
    const BusyPointer busy;
    if (!conversionOptionsAreValid(controls_))
        return;
    // A failure goes to the reporter; the command goes on with its next step only when it agrees.
    const auto carryOnAfterFailure = [this](int position = 0) {
        const errors::ErrorInfo failure =
            errors::describeFailure<conversion::automation::Failure, workbook::WorkbookError>(std::current_exception());
        noteFailureReason(jobList_, position, conversion::faultReason(failure));
        const bool carryOn = services_.reportError(failure.number, failure.description, kConvertErrorSource);
        platform::ui().restoreDefaultPointer();
        return carryOn;
    };
    try {
        if (!controls_.txtfilepath->text().isEmpty())
            AddCompleteListView();
    } catch (...) {
        if (!carryOnAfterFailure())
            return;
    }
    controls_.txtfilepath->clear();
    controls_.txtfilepathOutput->clear();

    const WindowConversionOptions options(controls_);
    WindowJobRows rows(jobList_, *controls_.lvwGeneral);
    conversion::EngineApplicationFactory engine;
    conversion::JobServices jobServices = conversion::installedJobServices();
    jobServices.reportError = services_.reportError;
    jobServices.pauseForWorkspace = pauseKeepingTheWindowPainted;
    conversion::ConversionDriver driver(engine, options, rows, services_.workspaceFolder,
                                        std::move(jobServices));
    const int rowCount = jobList_.rowCount();
    for (int position = 1; position <= rowCount; ++position) {
        try {
            const std::int16_t row = rowNumber(position);
            rows.setStatus(row, conversion::kStatusConverting);
            const auto job = jobList_.row(position);
            if (!job)
                throw errors::MissingObject();
            const auto result = driver.ConvertWorkbook(job->strsource.toStdString(), job->strDestination.toStdString(), row, 1);
            if (result.outcome == conversion::JobOutcome::ConverterMissing)
                return;
            noteFailureReason(jobList_, position, result.reason);
        } catch (...) {
            if (!carryOnAfterFailure(position))
                return;
        }
    }
}

}  // namespace kx::mainwindow
