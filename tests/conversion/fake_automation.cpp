#include "fake_automation.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace kx::conversion::fakes {
namespace {

using automation::Failure;
using automation::PageSetupProperty;
using automation::PrintOutArguments;
using automation::PropertyValue;

std::string valueText(const PropertyValue& value)
{
    return std::visit(
        [](const auto& v) {
            std::ostringstream text;
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, bool>)
                text << (v ? "true" : "false");
            else if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>)
                text << '"' << v << '"';
            else
                text << v;
            return text.str();
        },
        value);
}

class FakeWorksheet final : public automation::Worksheet {
public:
    explicit FakeWorksheet(FakeLog& log) : log_(log) {}
    void setPageSetupProperty(PageSetupProperty property, const PropertyValue& value) override
    {
        log_.record("put " + std::to_string(static_cast<int>(property)) + "=" + valueText(value));
    }

private:
    FakeLog& log_;
};

class FakeWorkbook final : public automation::Workbook {
public:
    FakeWorkbook(FakeLog& log, const FakeScript& script) : log_(log), script_(script), sheet_(log) {}
    automation::Worksheet& worksheet(std::int16_t number) override
    {
        log_.record("worksheet " + std::to_string(number));
        return sheet_;
    }
    std::int16_t worksheetCount() override { return 2; }
    std::vector<std::string> sheetNames() override { return {"First", "Second", "Chart"}; }
    void setSheetVisible(std::int16_t number, bool visible) override
    {
        log_.record("sheet " + std::to_string(number) + (visible ? " shown" : " hidden"));
    }
    void printOut(const PrintOutArguments& arguments) override
    {
        log_.record("printOut");
        log_.printOuts.push_back(arguments);
        if (script_.printFailure)
            throw *script_.printFailure;
        if (script_.writePrintFile)
            std::ofstream(arguments.printToFileName, std::ios::binary) << postScriptPages(script_.printedPages);
    }
    void close() override { log_.record("close"); }

private:
    FakeLog& log_;
    const FakeScript& script_;
    FakeWorksheet sheet_;
};

class FakeApplication final : public automation::Application {
public:
    FakeApplication(FakeLog& log, const FakeScript& script)
        : log_(log), script_(script), printer_(script.initialPrinter) {}
    automation::Workbook& openWorkbook(const std::string& path) override
    {
        log_.record("open " + path);
        if (script_.openFailure)
            throw *script_.openFailure;
        workbook_ = std::make_unique<FakeWorkbook>(log_, script_);
        return *workbook_;
    }
    automation::Workbook& activeWorkbook() override
    {
        log_.record("activeWorkbook");
        if (!workbook_)
            throw Failure(91, "Object variable or With block variable not set");
        return *workbook_;
    }
    std::string activePrinter() override
    {
        log_.record("get activePrinter");
        return printer_;
    }
    void setActivePrinter(const std::string& printer) override
    {
        log_.record("set activePrinter " + printer);
        printer_ = printer;
    }
    void quit() override { log_.record("quit"); }

private:
    FakeLog& log_;
    const FakeScript& script_;
    std::string printer_;
    std::unique_ptr<FakeWorkbook> workbook_;
};

}  // namespace

void FakeLog::record(const std::string& call)
{
    calls.push_back(call);
    if (onCall)
        onCall(call);
}

int FakeLog::count(const std::string& call) const
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

std::unique_ptr<automation::Application> FakeApplicationFactory::createApplication()
{
    log_.record("create");
    if (script_.creationFailures > 0) {
        --script_.creationFailures;
        throw Failure(automation::kCannotCreateObject, "ActiveX component can't create object");
    }
    ++log_.applicationsCreated;
    return std::make_unique<FakeApplication>(log_, script_);
}

std::string postScriptPages(int pages)
{
    std::string text = "%!PS-Adobe-3.0\n/Helvetica findfont 24 scalefont setfont\n";
    for (int page = 1; page <= pages; ++page)
        text += "72 720 moveto (Page " + std::to_string(page) + ") show showpage\n";
    return text;
}

}  // namespace kx::conversion::fakes
