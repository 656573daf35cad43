#include <gtest/gtest.h>

#include <cmath>

#include "conversion/automation_page_setup.h"
#include "conversion/fixed_options.h"
#include "fake_automation.h"

using namespace kx::conversion;
using namespace kx::conversion::automation;

TEST(PaperSizeCode, KnownNamesExactlyAndNothingElse)
{
    EXPECT_EQ(paperSizeCode("Letter"), 1);
    EXPECT_EQ(paperSizeCode("Legal"), 5);
    EXPECT_EQ(paperSizeCode("A4"), 9);
    EXPECT_EQ(paperSizeCode("A5"), 11);
    EXPECT_EQ(paperSizeCode("B4"), 12);
    EXPECT_EQ(paperSizeCode("B5"), 13);
    EXPECT_EQ(paperSizeCode(""), std::nullopt);
    EXPECT_EQ(paperSizeCode("a4"), std::nullopt);
    EXPECT_EQ(paperSizeCode("A4 "), std::nullopt);
    EXPECT_EQ(paperSizeCode("A3"), std::nullopt);
}

TEST(ZoomValue, RoundsHalvesToEvenAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(zoomValue(100), 100);
    EXPECT_EQ(zoomValue(10.5), 10);
    EXPECT_EQ(zoomValue(11.5), 12);
    EXPECT_EQ(zoomValue(399.49), 399);
    EXPECT_EQ(zoomValue(32767.4), 32767);
    try {
        zoomValue(32767.5);
        FAIL() << "no overflow";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), kOverflow);
    }
    EXPECT_THROW(zoomValue(std::nan("")), Failure);
}

TEST(ApplyPageSetup, PutsTheEightPropertiesInOrderFromTheOptions)
{
    fakes::FakeApplicationFactory factory;
    auto application = factory.createApplication();
    Worksheet& sheet = application->openWorkbook("book.xls").worksheet(1);
    FixedOptions options({.paperSize = "Letter", .zoom = 11.5, .landscape = true, .gridlines = false, .headings = true});

    applyPageSetup(sheet, options);

    const std::vector<std::string> puts(factory.log().calls.begin() + 3, factory.log().calls.end());
    EXPECT_EQ(puts, (std::vector<std::string>{"put 1524=16", "put 1004=false", "put 1007=1", "put 663=12",
                                              "put 134=2", "put 1003=true", "put 1021=true", "put 1019=\"\""}));
}

TEST(ApplyPageSetup, UnknownPaperLeavesPaperSizeAloneAndPortraitIsOne)
{
    fakes::FakeApplicationFactory factory;
    auto application = factory.createApplication();
    Worksheet& sheet = application->openWorkbook("book.xls").worksheet(1);
    FixedOptions options({.paperSize = ""});

    applyPageSetup(sheet, options);

    EXPECT_EQ(factory.log().count("put 1007=9"), 0);
    EXPECT_EQ(factory.log().calls.size(), 3u + 7u);
    EXPECT_EQ(factory.log().count("put 134=1"), 1);
    EXPECT_EQ(factory.log().count("put 1004=true"), 1);
}

TEST(ConversionPrintOut, RangeTextsOnlyInRangeModeAndAsTheyStand)
{
    FixedOptions options;
    options.values.fromPage = " 2";
    options.values.toPage = "03";

    const PrintOutArguments all = conversionPrintOut(options, "/w/PsFile.ps");
    EXPECT_EQ(all, (PrintOutArguments{.activePrinter = "Korvendal", .printToFileName = "/w/PsFile.ps"}));
    EXPECT_EQ(all.copies, 1);
    EXPECT_FALSE(all.preview);
    EXPECT_TRUE(all.printToFile);
    EXPECT_EQ(all.collate, 1);

    options.values.allPages = false;
    const PrintOutArguments range = conversionPrintOut(options, "/w/PsFile.ps");
    EXPECT_EQ(range.from, " 2");
    EXPECT_EQ(range.to, "03");
}

TEST(SetUpWorkbook, FitsAfterTheZoomOnEveryWorksheetAndShowsOnlyTheChosenSheets)
{
    fakes::FakeApplicationFactory factory;
    auto application = factory.createApplication();
    Workbook& workbook = application->openWorkbook("book.xls");
    FixedOptions options({.fit = kx::conversion::PageFit{2, 0}, .allSheets = true, .sheets = {"Second", "3"}});

    setUpWorkbook(workbook, workbook.worksheet(1), options);

    const auto& calls = factory.log().calls;
    const auto zoom = std::find(calls.begin(), calls.end(), "put 663=100");
    ASSERT_NE(zoom, calls.end());
    EXPECT_EQ(std::vector<std::string>(zoom + 1, zoom + 4),
              (std::vector<std::string>{"put 663=false", "put 1014=2", "put 1013=0"}));
    EXPECT_EQ(factory.log().count("put 663=false"), 2);  // both worksheets of the fake
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"sheet 1 hidden", "sheet 2 shown", "sheet 3 shown"}));

    for (const char* unknown : {"Third", "4", "0"}) {
        try {
            showOnlySheets(workbook, {"First", unknown});
            ADD_FAILURE() << unknown;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), kSubscriptOutOfRange);
            EXPECT_NE(failure.description().find(unknown), std::string::npos);
        }
    }
}
