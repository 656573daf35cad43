#pragma once
// The automation interface through which a conversion drives the spreadsheet application:
// create an application, open a workbook, take a worksheet, put page set-up properties,
// read and write the active printer, print the active workbook to a file, close and quit.
// The conversion code knows only this interface; the workbook engine stands behind one
// implementation of it, and tests put a recording fake in its place.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "errors/failure.h"

namespace kx::conversion::automation {

// Every failing operation throws this, with the number and description the application gives.
class Failure : public std::runtime_error {
public:
    Failure(std::int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    std::int32_t number() const { return number_; }
    std::string description() const { return what(); }

private:
    std::int32_t number_;
};

// The one number callers rely on: the application object could not be created.
inline constexpr std::int32_t kCannotCreateObject = 429;
// Other numbers the implementations raise: the runtime's own, and the application's method failure.
using errors::kOverflow;
using errors::kSubscriptOutOfRange;
using errors::kTypeMismatch;
inline constexpr std::int32_t kMethodFailed = 1004;

// Page set-up properties, by their dispatch identifiers in the application's object model.
enum class PageSetupProperty : std::int32_t {
    PrintComments = 1524,
    PrintGridlines = 1004,
    PaperSize = 1007,
    Zoom = 663,
    Orientation = 134,
    PrintHeadings = 1003,
    PrintNotes = 1021,
    PrintArea = 1019,
    // Zoom put as false turns fitting to FitToPagesWide by FitToPagesTall pages on; either of
    // these put as 0 or false means as many pages as needed that way.
    FitToPagesTall = 1013,
    FitToPagesWide = 1014,
};

// A property value with the type it is put with.
using PropertyValue = std::variant<bool, std::int16_t, std::int32_t, std::string>;

// The eight positional arguments of PrintOut, in the application's order.
struct PrintOutArguments {
    std::optional<std::string> from;  // omitted when every page is printed
    std::optional<std::string> to;
    std::int16_t copies = 1;
    bool preview = false;
    std::string activePrinter;
    bool printToFile = true;
    std::int16_t collate = 1;
    std::string printToFileName;
    // Not one of the application's arguments: the engine prints PDF instead of PostScript.
    bool printPdf = false;

    bool operator==(const PrintOutArguments&) const = default;
};

class Worksheet {
public:
    virtual ~Worksheet() = default;
    // Fetches the sheet's page set-up and puts one property on it.
    virtual void setPageSetupProperty(PageSetupProperty property, const PropertyValue& value) = 0;
};

class Workbook {
public:
    virtual ~Workbook() = default;
    // The worksheet with the 1-based `number` among the workbook's worksheets.
    virtual Worksheet& worksheet(std::int16_t number) = 0;
    virtual std::int16_t worksheetCount() = 0;
    // The names of all sheets, of every kind, in the order of their tabs.
    virtual std::vector<std::string> sheetNames() = 0;
    // Shows or hides the sheet with the 1-based `number` among all sheets; hidden sheets do not print.
    virtual void setSheetVisible(std::int16_t number, bool visible) = 0;
    // Prints every sheet of the workbook.
    virtual void printOut(const PrintOutArguments& arguments) = 0;
    // Closes without saving; the workbook and its worksheets are unusable afterwards.
    virtual void close() = 0;
};

// The workbooks and worksheets an application hands out belong to it and live as long as it.
class Application {
public:
    virtual ~Application() = default;
    // Opens the workbook at `path`, which becomes the active workbook.
    virtual Workbook& openWorkbook(const std::string& path) = 0;
    virtual Workbook& activeWorkbook() = 0;
    virtual std::string activePrinter() = 0;
    virtual void setActivePrinter(const std::string& printer) = 0;
    virtual void quit() = 0;
};

// Creates a new, separate application for every call; throws Failure 429 when it cannot.
class ApplicationFactory {
public:
    virtual ~ApplicationFactory() = default;
    virtual std::unique_ptr<Application> createApplication() = 0;
};

}  // namespace kx::conversion::automation
