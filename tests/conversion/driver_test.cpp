#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "conversion/driver.h"
#include "conversion/fixed_options.h"
#include "fake_automation.h"
#include "platform/filesystem.h"
#include "platform/folder_lock.h"
#include "platform/private_folder.h"
#include "support/fake_user_interface.h"

using namespace kx;
using namespace kx::conversion;

namespace {

class RecordedRows final : public JobRows {
public:
    void setStatus(std::int16_t row, const std::string& status) override
    {
        statuses.push_back(std::to_string(row) + ":" + status);
    }
    std::string fileName(std::int16_t) const override { return "Sales Q1.xls"; }
    std::vector<std::string> statuses;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = *platform::createPrivateFolder("driver-test");
        workspace = platform::joinPath(folder, "temp");
        target = platform::joinPath(folder, "out.pdf");
        services.locateGhostscript = [] { return std::optional<std::string>("/usr/bin/gs"); };
        services.printerCheckAllowsJob = [this](automation::Application&) {
            factory.log().record("printer check");
            return printerFound;
        };
        services.runFirstPass = [this](const std::string&, const std::string& folderPath, PageSelection selection) {
            factory.log().record("first pass");
            if (!firstPassStarts)
                return PassOutcome{false, "Ghostscript could not be started from /usr/bin/gs"};
            if (firstPassWrites) {
                const char* output = selection == PageSelection::Range ? kIntermediatePdfFile : kFinishedPdfFile;
                writeFile(platform::joinPath(folderPath, output), "PDF of " + readFile(platform::joinPath(folderPath, kPostScriptFile)));
            }
            return PassOutcome{true, firstPassFailure};
        };
        services.runSecondPass = [this](const std::string&, const std::string& folderPath, const std::string& from,
                                        const std::string& to) {
            factory.log().record("second pass " + from + ".." + to);
            writeFile(platform::joinPath(folderPath, kFinishedPdfFile), "range PDF");
            return PassOutcome{true, {}};
        };
        services.pauseForWorkspace = [this] {
            ++workspacePauses;
            otherProgram.reset();
        };
        services.runPdfAPass = [this](const std::string&, const std::string& folderPath) {
            factory.log().record("PDF/A pass");
            if (!pdfAPassFailure.empty())
                return PassOutcome{true, pdfAPassFailure};
            writeFile(platform::joinPath(folderPath, kFinishedPdfFile), "PDF/A");
            return PassOutcome{true, {}};
        };
        services.reportError = [this](std::int32_t code, const std::string& description, const std::string& source) {
            reported.push_back(std::to_string(code) + " " + description + " @" + source);
            return true;
        };
    }
    void TearDown() override { platform::removeFolderTree(folder); }

    JobResult convert()
    {
        ConversionDriver driver(factory, options, rows, workspace, services);
        return driver.ConvertWorkbook("/data/Sales Q1.xls", target, 3, 1);
    }
    std::string workspaceFile(const char* name) const { return platform::joinPath(workspace, name); }

    std::string folder, workspace, target;
    fakes::FakeApplicationFactory factory;
    FixedOptions options;
    RecordedRows rows;
    JobServices services;
    std::vector<std::string> reported;
    bool printerFound = true;
    bool firstPassStarts = true;
    std::string pdfAPassFailure;
    bool firstPassWrites = true;
    std::string firstPassFailure;
    int workspacePauses = 0;
    std::optional<platform::FolderLock> otherProgram;
    kx::testing::FakeUserInterface ui;
};

TEST_F(DriverTest, GoodJobRunsTheStepsInOrderAndDeliversThePdf)
{
    options.values.openAfterConversion = true;
    const JobResult result = convert();

    EXPECT_EQ(result.outcome, JobOutcome::Completed);
    EXPECT_FALSE(result.fault);
    const std::vector<std::string> expected{
        "create", "open /data/Sales Q1.xls", "worksheet 1", "printer check", "get activePrinter",
        "put 1524=16", "put 1004=true", "put 1007=9", "put 663=100", "put 134=1", "put 1003=false",
        "put 1021=true", "put 1019=\"\"", "activeWorkbook", "printOut", "set activePrinter Office Laser",
        "first pass", "close", "quit"};
    EXPECT_EQ(factory.log().calls, expected);
    EXPECT_EQ(factory.log().printOuts.at(0).printToFileName, workspaceFile(kPostScriptFile));
    EXPECT_EQ(readFile(target).rfind("PDF of %!PS", 0), 0u);
    EXPECT_EQ(rows.statuses, std::vector<std::string>{"3:Completed"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "SALES Q1.XLS Converted Successfully.");
    EXPECT_EQ(ui.messages[0].title, "Korvendal");
    EXPECT_EQ(ui.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(ui.opened, std::vector<std::string>{target});
}

TEST_F(DriverTest, OpensThePdfOnlyWhenAsked)
{
    ASSERT_EQ(convert().outcome, JobOutcome::Completed);
    EXPECT_TRUE(ui.opened.empty());
}

TEST_F(DriverTest, FirstCreationFailureIsRetriedOnceWithoutReporting)
{
    factory.script().creationFailures = 1;
    const JobResult result = convert();

    EXPECT_EQ(result.outcome, JobOutcome::Completed);
    EXPECT_EQ(factory.log().count("create"), 2);
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(rows.statuses, (std::vector<std::string>{"3:Failed", "3:Completed"}));
    EXPECT_EQ(factory.log().count("quit"), 1);
}

TEST_F(DriverTest, SecondCreationFailurePassesOnToTheCaller)
{
    factory.script().creationFailures = 2;
    try {
        convert();
        FAIL() << "the failure did not pass on";
    } catch (const automation::Failure& failure) {
        EXPECT_EQ(failure.number(), automation::kCannotCreateObject);
    }
    EXPECT_EQ(rows.statuses, std::vector<std::string>{"3:Failed"});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DriverTest, PrinterCheckStopClosesAndQuitsAndLeavesTheRowConverting)
{
    printerFound = false;
    const JobResult result = convert();

    EXPECT_EQ(result.outcome, JobOutcome::Stopped);
    EXPECT_TRUE(rows.statuses.empty());
    EXPECT_EQ(factory.log().count("printOut"), 0);
    EXPECT_EQ(factory.log().count("first pass"), 0);
    EXPECT_EQ(factory.log().count("close"), 1);
    EXPECT_EQ(factory.log().count("quit"), 1);
    EXPECT_FALSE(platform::visibleEntryExists(target));
}

TEST_F(DriverTest, AutomationFaultIsReportedQuitsWithoutClosingAndShowsNothing)
{
    factory.script().printFailure = automation::Failure(1010, "The printer \"Korvendal\" is not installed.");
    const JobResult result = convert();

    EXPECT_EQ(result.outcome, JobOutcome::Failed);
    ASSERT_TRUE(result.fault);
    EXPECT_EQ(result.fault->number, 1010);
    EXPECT_EQ(reported, std::vector<std::string>{"1010 The printer \"Korvendal\" is not installed. @frmMain:cmdBrowse"});
    EXPECT_EQ(result.reason, "The printer \"Korvendal\" is not installed. (error 1010)");
    EXPECT_EQ(rows.statuses, std::vector<std::string>{"3:Failed"});
    EXPECT_EQ(factory.log().count("close"), 0);
    EXPECT_EQ(factory.log().count("quit"), 1);
    EXPECT_EQ(factory.log().count("first pass"), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DriverTest, UnopenableWorkbookFailsBeforeAnyPrint)
{
    factory.script().openFailure = automation::Failure(1005, "book.xls is not an Excel workbook.");
    const JobResult result = convert();

    ASSERT_TRUE(result.fault);
    EXPECT_EQ(result.fault->number, 1005);
    EXPECT_EQ(factory.log().calls, (std::vector<std::string>{"create", "open /data/Sales Q1.xls", "quit"}));
}

TEST_F(DriverTest, GhostscriptThatCannotStartFailsTheJobWithTheMessage)
{
    firstPassStarts = false;
    const JobResult result = convert();

    EXPECT_EQ(result.outcome, JobOutcome::Failed);
    EXPECT_FALSE(result.fault);
    EXPECT_EQ(rows.statuses, std::vector<std::string>{"3:Failed"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Failed to create PDF.");
    EXPECT_EQ(ui.messages[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(result.reason, "Ghostscript could not be started from /usr/bin/gs");
    EXPECT_EQ(factory.log().count("close"), 1);
    EXPECT_EQ(factory.log().count("quit"), 1);
}

TEST_F(DriverTest, EarlierJobsFilesNeverPassForThisJobsPdf)
{
    platform::ensureFolder(workspace);
    writeFile(workspaceFile(kFinishedPdfFile), "previous workbook's PDF");
    writeFile(workspaceFile(kPostScriptFile), "previous PostScript");
    firstPassWrites = false;
    firstPassFailure = "Ghostscript failed with exit code 1";
    factory.script().writePrintFile = false;

    const JobResult result = convert();

    EXPECT_EQ(result.outcome, JobOutcome::Failed);
    EXPECT_EQ(result.reason, "Ghostscript failed with exit code 1");
    EXPECT_EQ(rows.statuses, std::vector<std::string>{"3:Failed"});
    EXPECT_FALSE(platform::visibleEntryExists(target));
    EXPECT_FALSE(platform::visibleEntryExists(workspaceFile(kFinishedPdfFile)));
    EXPECT_FALSE(platform::visibleEntryExists(workspaceFile(kPostScriptFile)));
}

TEST_F(DriverTest, MissingWorkspaceFolderIsCreated)
{
    ASSERT_FALSE(platform::folderExists(workspace));
    EXPECT_EQ(convert().outcome, JobOutcome::Completed);
    EXPECT_TRUE(platform::folderExists(workspace));
}

// flock locks belong to the open file, so a second open in this process competes like another program.
TEST_F(DriverTest, WorkspaceHeldByAnotherJobIsWaitedFor)
{
    platform::ensureFolder(workspace);
    otherProgram.emplace(workspace);
    ASSERT_TRUE(otherProgram->held());

    EXPECT_EQ(convert().outcome, JobOutcome::Completed);
    EXPECT_EQ(workspacePauses, 1);
    EXPECT_EQ(rows.statuses, std::vector<std::string>{"3:Completed"});
}

TEST_F(DriverTest, WorkspaceHeldTooLongFailsWithoutTouchingItsFiles)
{
    platform::ensureFolder(workspace);
    writeFile(workspaceFile(kFinishedPdfFile), "the other job's PDF");
    const platform::FolderLock keptByOtherProgram(workspace);
    services.workspaceWaitLimit = std::chrono::milliseconds(30);

    const JobResult result = convert();

    EXPECT_EQ(result.outcome, JobOutcome::Failed);
    EXPECT_GE(workspacePauses, 1);
    EXPECT_NE(result.reason.find("busy"), std::string::npos) << result.reason;
    EXPECT_EQ(rows.statuses, std::vector<std::string>{"3:Failed"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Failed to create PDF.");
    EXPECT_EQ(factory.log().count("printOut"), 0);
    EXPECT_EQ(factory.log().count("quit"), 1);
    EXPECT_EQ(readFile(workspaceFile(kFinishedPdfFile)), "the other job's PDF");
}

TEST_F(DriverTest, RangeIsCutOnceByThePrintAndTheSecondPassKeepsEveryPrintedPage)
{
    options.values.allPages = false;
    options.values.fromPage = "4";
    options.values.toPage = "6";
    EXPECT_EQ(convert().outcome, JobOutcome::Completed);

    const automation::PrintOutArguments& printOut = factory.log().printOuts.at(0);
    EXPECT_EQ(printOut.from, "4");
    EXPECT_EQ(printOut.to, "6");
    EXPECT_EQ(factory.log().count("second pass 1..3"), 1);
    EXPECT_EQ(readFile(target), "range PDF");
    EXPECT_FALSE(platform::visibleEntryExists(workspaceFile(kIntermediatePdfFile)));
}

TEST_F(DriverTest, MissingConverterEndsBeforeAnyApplicationStarts)
{
    services.locateGhostscript = [] { return std::optional<std::string>(); };
    const JobResult result = convert();
    EXPECT_EQ(result.outcome, JobOutcome::ConverterMissing);
    EXPECT_NE(result.reason.find("Ghostscript was not found"), std::string::npos);
    EXPECT_TRUE(factory.log().calls.empty());
    EXPECT_TRUE(rows.statuses.empty());
}

TEST_F(DriverTest, ExistingTargetIsReplacedAndUnwritableTargetIsAFault)
{
    writeFile(target, "old");
    EXPECT_EQ(convert().outcome, JobOutcome::Completed);
    EXPECT_EQ(readFile(target).rfind("PDF of %!PS", 0), 0u) << readFile(target);

    platform::removeFile(target);
    platform::ensureFolder(target);
    rows.statuses.clear();
    const JobResult result = convert();
    EXPECT_EQ(result.outcome, JobOutcome::Failed);
    ASSERT_TRUE(result.fault);
    EXPECT_EQ(result.fault->number, 75);
    EXPECT_EQ(result.reason, "Path/File access error: " + target + " cannot be written (Is a directory) (error 75)");
    EXPECT_EQ(rows.statuses, std::vector<std::string>{"3:Failed"});
}

}  // namespace

// The converter's other routes: the engine's own PDF needs no Ghostscript at all, and PDF/A is
// one pass over a print that holds only the range.
TEST_F(DriverTest, OtherRoutesPrintTheRangeOnceAndRunOnlyTheirOwnPass)
{
    options.values.allPages = false;
    options.values.fromPage = "2";
    options.values.toPage = "3";
    options.values.route = PdfRoute::Direct;
    services.locateGhostscript = [] { return std::optional<std::string>(); };
    EXPECT_EQ(convert().outcome, JobOutcome::Completed);
    const automation::PrintOutArguments& direct = factory.log().printOuts.at(0);
    EXPECT_TRUE(direct.printPdf);
    EXPECT_EQ(direct.printToFileName, workspaceFile(kFinishedPdfFile));
    EXPECT_EQ(direct.from, "2");
    EXPECT_EQ(factory.log().count("first pass") + factory.log().count("second pass 1..2"), 0);
    EXPECT_EQ(readFile(target).rfind("%!PS", 0), 0u);  // what the fake printed, as it printed it

    options.values.route = PdfRoute::PdfA;
    services.locateGhostscript = [] { return std::optional<std::string>("/usr/bin/gs"); };
    EXPECT_EQ(convert().outcome, JobOutcome::Completed);
    EXPECT_FALSE(factory.log().printOuts.at(1).printPdf);
    EXPECT_EQ(factory.log().count("PDF/A pass"), 1);
    EXPECT_EQ(factory.log().count("first pass") + factory.log().count("second pass 1..2"), 0);
    EXPECT_EQ(readFile(target), "PDF/A");

    pdfAPassFailure = "Ghostscript did not finish within 1 second and was stopped";
    const JobResult stopped = convert();
    EXPECT_EQ(stopped.outcome, JobOutcome::Failed);
    EXPECT_EQ(stopped.reason, pdfAPassFailure);
    EXPECT_EQ(readFile(target), "PDF/A");
}
