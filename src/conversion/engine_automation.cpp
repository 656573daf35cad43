#include "conversion/engine_automation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "conversion/automation_page_setup.h"
#include "conversion/printer_selection.h"
#include "platform/filesystem.h"
#include "platform/ui.h"
#include "workbook/print/font_preparation.h"
#include "workbook/print/print.h"
#include "workbook/xls/reader.h"

namespace kx::conversion {
namespace {

using automation::Failure;
using automation::kMethodFailed;
using automation::kTypeMismatch;
using automation::PageSetupProperty;
using automation::PropertyValue;

constexpr int kHighestPaperCode = 118;
constexpr std::int32_t kPrintSheetEnd = 1;
constexpr std::int32_t kPrintNoComments = -4142;

Failure propertyRefused(const char* property)
{
    return Failure(kMethodFailed, std::string("Unable to set the ") + property + " property of the PageSetup class");
}

bool asBoolean(const PropertyValue& value)
{
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag;
    if (const auto* number = std::get_if<std::int16_t>(&value))
        return *number != 0;
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return *number != 0;
    throw Failure(kTypeMismatch, "Type mismatch");
}

std::int32_t asInteger(const PropertyValue& value)
{
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag ? -1 : 0;
    if (const auto* number = std::get_if<std::int16_t>(&value))
        return *number;
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return *number;
    throw Failure(kTypeMismatch, "Type mismatch");
}

bool isInstalled(const std::string& printer)
{
    const auto printers = InstalledPrinters();
    return std::find(printers.begin(), printers.end(), printer) != printers.end();
}

// Runs an engine call, turning its failures into automation failures with the same number.
template <typename Call>
auto engineCall(Call&& call)
{
    try {
        return call();
    } catch (const workbook::WorkbookError& error) {
        throw Failure(error.number(), error.what());
    }
}

void report(const EngineApplicationFactory::WarningListener& listener, const std::string& path,
            const workbook::LoadWarnings& warnings)
{
    if (listener)
        for (const std::string& line : warnings.lines())
            listener(path + ": " + line);
}

class EngineWorksheet final : public automation::Worksheet {
public:
    explicit EngineWorksheet(workbook::Sheet& sheet) : sheet_(sheet) {}

    void setPageSetupProperty(PageSetupProperty property, const PropertyValue& value) override
    {
        workbook::PageSetup& setup = sheet_.pageSetup;
        switch (property) {
        case PageSetupProperty::PrintComments:
            setup.comments = commentPrinting(asInteger(value));
            return;
        case PageSetupProperty::PrintGridlines:
            setup.gridlines = asBoolean(value);
            return;
        case PageSetupProperty::PaperSize:
            setup.paperSize = paperSize(asInteger(value));
            return;
        case PageSetupProperty::Zoom:
            setZoomOrFit(setup, value);
            return;
        case PageSetupProperty::FitToPagesWide:
            setup.fitWidth = fitPages(asInteger(value), "FitToPagesWide");
            return;
        case PageSetupProperty::FitToPagesTall:
            setup.fitHeight = fitPages(asInteger(value), "FitToPagesTall");
            return;
        case PageSetupProperty::Orientation:
            setup.landscape = landscape(asInteger(value));
            return;
        case PageSetupProperty::PrintHeadings:
            setup.headings = asBoolean(value);
            return;
        case PageSetupProperty::PrintNotes:
            setPrintNotes(setup, asBoolean(value));
            return;
        case PageSetupProperty::PrintArea:
            clearPrintArea(setup, value);
            return;
        }
        throw Failure(kMethodFailed, "Unknown page set-up property");
    }

private:
    static workbook::CommentPrinting commentPrinting(std::int32_t code)
    {
        switch (code) {
        case automation::kCommentsInPlace: return workbook::CommentPrinting::InPlace;
        case kPrintSheetEnd: return workbook::CommentPrinting::AtEnd;
        case kPrintNoComments: return workbook::CommentPrinting::None;
        default: throw propertyRefused("PrintComments");
        }
    }

    static std::uint16_t paperSize(std::int32_t code)
    {
        if (code < 1 || code > kHighestPaperCode)
            throw propertyRefused("PaperSize");
        return static_cast<std::uint16_t>(code);
    }

    // A zoom, or false for fitting to pages; true is no zoom.
    static void setZoomOrFit(workbook::PageSetup& setup, const PropertyValue& value)
    {
        if (const bool* flag = std::get_if<bool>(&value)) {
            if (*flag)
                throw propertyRefused("Zoom");
            setup.fitToPages = true;
            return;
        }
        const std::int32_t percent = asInteger(value);
        if (percent < workbook::minimumZoom || percent > workbook::maximumZoom)
            throw propertyRefused("Zoom");
        workbook::setZoom(setup, percent);
    }

    static std::uint16_t fitPages(std::int32_t pages, const char* property)
    {
        if (pages < 0 || pages > std::numeric_limits<std::int16_t>::max())
            throw propertyRefused(property);
        return static_cast<std::uint16_t>(pages);
    }

    static bool landscape(std::int32_t orientation)
    {
        if (orientation != automation::kPortrait && orientation != automation::kLandscape)
            throw propertyRefused("Orientation");
        return orientation == automation::kLandscape;
    }

    // Notes printed means comments at the end of the sheet; the two settings are one in the file.
    static void setPrintNotes(workbook::PageSetup& setup, bool printNotes)
    {
        if (printNotes)
            setup.comments = workbook::CommentPrinting::AtEnd;
        else if (setup.comments == workbook::CommentPrinting::AtEnd)
            setup.comments = workbook::CommentPrinting::None;
    }

    // Only clearing is offered: the whole used range then prints.
    static void clearPrintArea(workbook::PageSetup& setup, const PropertyValue& value)
    {
        const auto* area = std::get_if<std::string>(&value);
        if (!area)
            throw Failure(kTypeMismatch, "Type mismatch");
        if (!area->empty())
            throw propertyRefused("PrintArea");
        setup.printArea.clear();
    }

    workbook::Sheet& sheet_;
};

class EngineWorkbook final : public automation::Workbook {
public:
    EngineWorkbook(std::string path, workbook::Workbook model, std::string& activePrinter,
                   EngineApplicationFactory::WarningListener warningListener)
        : path_(std::move(path)), model_(std::move(model)), activePrinter_(activePrinter),
          warningListener_(std::move(warningListener))
    {
        for (workbook::Sheet& sheet : model_.sheets) {
            if (sheet.kind == workbook::SheetKind::Worksheet)
                worksheets_.push_back(std::make_unique<EngineWorksheet>(sheet));
        }
    }

    bool isOpen() const { return open_; }

    automation::Worksheet& worksheet(std::int16_t number) override
    {
        requireOpen();
        if (number < 1 || static_cast<std::size_t>(number) > worksheets_.size())
            throw Failure(automation::kSubscriptOutOfRange, "Subscript out of range");
        return *worksheets_[static_cast<std::size_t>(number - 1)];
    }

    std::int16_t worksheetCount() override
    {
        requireOpen();
        return static_cast<std::int16_t>(std::min<std::size_t>(worksheets_.size(), std::numeric_limits<std::int16_t>::max()));
    }

    std::vector<std::string> sheetNames() override
    {
        requireOpen();
        std::vector<std::string> names;
        for (const workbook::Sheet& sheet : model_.sheets)
            names.push_back(sheet.name);
        return names;
    }

    void setSheetVisible(std::int16_t number, bool visible) override
    {
        requireOpen();
        if (number < 1 || static_cast<std::size_t>(number) > model_.sheets.size())
            throw Failure(automation::kSubscriptOutOfRange, "Subscript out of range");
        model_.sheets[static_cast<std::size_t>(number - 1)].visibility =
            visible ? workbook::Visibility::Visible : workbook::Visibility::Hidden;
    }

    void printOut(const automation::PrintOutArguments& arguments) override
    {
        requireOpen();
        if (!arguments.printToFile || arguments.printToFileName.empty())
            throw Failure(kMethodFailed, "PrintOut method of Workbook class failed: printing needs a file name");
        const std::string& printer = arguments.activePrinter.empty() ? activePrinter_ : arguments.activePrinter;
        if (!isInstalled(printer))
            throw Failure(static_cast<int>(workbook::ErrorCode::PrinterNotInstalled),
                          "The printer \"" + printer + "\" is not installed.");
        workbook::PrintJob job{.outputPath = arguments.printToFileName,
                               .format = arguments.printPdf ? workbook::PrintFormat::Pdf : workbook::PrintFormat::PostScript,
                               .fromPage = pageOf(arguments.from),
                               .toPage = pageOf(arguments.to),
                               .documentTitle = platform::fileNameOf(path_),
                               .creator = platform::kApplicationTitle};
        if (job.fromPage && job.toPage && *job.fromPage > *job.toPage)
            throw Failure(kMethodFailed, "PrintOut method of Workbook class failed: the first page comes after the last");
        workbook::LoadWarnings printWarnings;
        job.warnings = &printWarnings;
        engineCall([&] { workbook::printWorkbook(model_, job); });
        report(warningListener_, path_, printWarnings);
    }

    void close() override
    {
        requireOpen();
        open_ = false;
        worksheets_.clear();
        model_ = {};
    }

private:
    static std::optional<int> pageOf(const std::optional<std::string>& text)
    {
        if (!text)
            return std::nullopt;
        return automation::pageNumberFromText(*text);
    }

    void requireOpen() const
    {
        if (!open_)
            throw Failure(kMethodFailed, "The workbook is closed");
    }

    std::string path_;
    workbook::Workbook model_;
    std::string& activePrinter_;
    EngineApplicationFactory::WarningListener warningListener_;
    std::vector<std::unique_ptr<EngineWorksheet>> worksheets_;
    bool open_ = true;
};

class EngineApplication final : public automation::Application {
public:
    explicit EngineApplication(EngineApplicationFactory::WarningListener warningListener)
        : warningListener_(std::move(warningListener))
    {
        const auto printers = InstalledPrinters();
        if (!printers.empty())
            activePrinter_ = printers.front();
    }

    automation::Workbook& openWorkbook(const std::string& path) override
    {
        requireRunning();
        auto model = engineCall([&] { return workbook::openWorkbook(path); });
        report(warningListener_, path, model.warnings);
        workbooks_.push_back(std::make_unique<EngineWorkbook>(path, std::move(model), activePrinter_, warningListener_));
        return *workbooks_.back();
    }

    automation::Workbook& activeWorkbook() override
    {
        requireRunning();
        for (auto book = workbooks_.rbegin(); book != workbooks_.rend(); ++book) {
            if ((*book)->isOpen())
                return **book;
        }
        throw Failure(91, "Object variable or With block variable not set");
    }

    std::string activePrinter() override
    {
        requireRunning();
        return activePrinter_;
    }

    void setActivePrinter(const std::string& printer) override
    {
        requireRunning();
        if (printer != activePrinter_ && !isInstalled(printer))
            throw Failure(kMethodFailed, "Method 'ActivePrinter' of object '_Application' failed");
        activePrinter_ = printer;
    }

    void quit() override
    {
        running_ = false;
        workbooks_.clear();
    }

private:
    void requireRunning() const
    {
        if (!running_)
            throw Failure(kMethodFailed, "The application has quit");
    }

    EngineApplicationFactory::WarningListener warningListener_;
    std::string activePrinter_;
    std::vector<std::unique_ptr<EngineWorkbook>> workbooks_;
    bool running_ = true;
};

}  // namespace

EngineApplicationFactory::EngineApplicationFactory(Fonts fonts)
{
    workbook::prepareFonts(fonts == Fonts::EngineOnly ? workbook::FontLoading::Alone : workbook::FontLoading::Shared);
}

void EngineApplicationFactory::waitForFonts() const
{
    workbook::waitForPreparedFonts();
}

std::unique_ptr<automation::Application> EngineApplicationFactory::createApplication()
{
    try {
        return std::make_unique<EngineApplication>(warningListener_);
    } catch (const std::bad_alloc&) {
        throw Failure(automation::kCannotCreateObject, "ActiveX component can't create object");
    }
}

}  // namespace kx::conversion
