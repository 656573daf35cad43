#include <gtest/gtest.h>

#include "conversion/automation_page_setup.h"
#include "conversion/engine_automation.h"
#include "e2e_support.h"
#include "platform/filesystem.h"

using namespace kx::conversion;
using namespace kx::conversion::automation;
using namespace kx::e2e;

namespace {

int failureNumber(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Failure& failure) {
        return failure.number();
    }
    return 0;
}

PrintOutArguments printTo(const std::string& file, const char* printer = kConversionPrinter)
{
    return {.activePrinter = printer, .printToFileName = file};
}

}  // namespace

TEST(EngineAutomation, OpensPrintsARangeAndClosesThroughTheInstalledPrinter)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    EngineApplicationFactory factory;
    auto application = factory.createApplication();
    Workbook& book = application->openWorkbook(corpusFile("poi-45538_classic_Footer.xls"));
    EXPECT_EQ(&application->activeWorkbook(), &book);
    EXPECT_EQ(application->activePrinter(), "Korvendal");

    const std::string all = machine.file("all.ps");
    book.printOut(printTo(all));
    PrintOutArguments range = printTo(machine.file("range.ps"));
    range.from = " 2";
    range.to = "3";
    book.printOut(range);
    runCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -o '" + machine.file("all.pdf") + "' '" + all + "'");
    runCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -o '" + machine.file("range.pdf") + "' '" + machine.file("range.ps") + "'");
    EXPECT_EQ(pdfPageCount(machine.file("range.pdf")), 2);
    EXPECT_EQ(pdfText(machine.file("range.pdf")), pdfText(machine.file("all.pdf"), 2, 3));

    book.close();
    EXPECT_EQ(failureNumber([&] { book.printOut(printTo(all)); }), kMethodFailed);
    EXPECT_EQ(failureNumber([&] { application->activeWorkbook(); }), 91);
    application->quit();
}

TEST(EngineAutomation, RefusesWhatTheSpreadsheetProgramRefuses)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    EngineApplicationFactory factory;
    auto application = factory.createApplication();
    EXPECT_EQ(failureNumber([&] { application->openWorkbook(machine.file("missing.xls")); }), 1004);
    EXPECT_EQ(failureNumber([&] { application->openWorkbook(corpusFile("bad/bad-encrypted-rc4.xls")); }), 1007);

    // Two worksheets and one chart sheet: the chart sheet is no worksheet.
    Workbook& book = application->openWorkbook(corpusFile("poi-ex42570-20305.xls"));
    EXPECT_EQ(failureNumber([&] { book.worksheet(0); }), kSubscriptOutOfRange);
    EXPECT_EQ(failureNumber([&] { book.worksheet(2); }), kSubscriptOutOfRange);
    Worksheet& sheet = book.worksheet(1);
    EXPECT_EQ(failureNumber([&] { sheet.setPageSetupProperty(PageSetupProperty::Zoom, std::int16_t{9}); }), kMethodFailed);
    EXPECT_EQ(failureNumber([&] { sheet.setPageSetupProperty(PageSetupProperty::Orientation, 3); }), kMethodFailed);
    EXPECT_EQ(failureNumber([&] { sheet.setPageSetupProperty(PageSetupProperty::PrintArea, std::string("A1:B2")); }),
              kMethodFailed);
    EXPECT_EQ(failureNumber([&] { sheet.setPageSetupProperty(PageSetupProperty::PrintGridlines, std::string("yes")); }),
              kTypeMismatch);

    EXPECT_EQ(failureNumber([&] { book.printOut(printTo(machine.file("x.ps"), "Office Laser")); }), 1010);
    EXPECT_EQ(failureNumber([&] { application->setActivePrinter("Office Laser"); }), kMethodFailed);
    PrintOutArguments backwards = printTo(machine.file("x.ps"));
    backwards.from = "3";
    backwards.to = "2";
    EXPECT_EQ(failureNumber([&] { book.printOut(backwards); }), kMethodFailed);
    EXPECT_FALSE(kx::platform::visibleEntryExists(machine.file("x.ps")));
}
