#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "config/registry.h"
#include "conversion/ghostscript.h"
#include "platform/program_end.h"
#include "platform/ui.h"
#include "support/fake_user_interface.h"
#include "support/temp_folder.h"

using namespace kx::conversion;
namespace fs = std::filesystem;

namespace {

const std::string kOptions = " -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite";

std::string commandOutput(const std::string& command)
{
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::array<char, 4096> buffer {};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()))
        output += buffer.data();
    return output;
}

std::string pageText(const fs::path& pdf, int page)
{
    const std::string number = std::to_string(page);
    return commandOutput("pdftotext -q -f " + number + " -l " + number + " '" + pdf.string() + "' -");
}

int pageCount(const fs::path& pdf)
{
    const std::string info = commandOutput("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

// A workspace folder whose path has blanks, and a machine store naming Ghostscript.
class Rendering : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = folder_.path();
        workspace_ = (root_ / "program folder" / "temp").string();
        fs::create_directories(workspace_);
        store_ = root_ / "machine.reg";
        setenv(kx::config::kMachineStoreVariable, store_.c_str(), 1);
        kx::platform::installProgramEndHandler([this](int code) { endCodes_.push_back(code); });
    }
    void TearDown() override
    {
        kx::platform::installProgramEndHandler({});
        unsetenv(kx::config::kMachineStoreVariable);
    }
    void storeGhostscriptValue(const std::string& data)
    {
        std::ofstream(store_) << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\r\n"
                              << "\"GSPath\"=" << data << "\r\n";
    }
    void writePostScript(const std::string& body)
    {
        std::ofstream(fs::path(workspace_) / kPostScriptFile) << "%!PS\n/Helvetica findfont 24 scalefont setfont\n" << body;
    }
    void writePages(std::initializer_list<const char*> texts)
    {
        std::string body;
        for (const char* text : texts)
            body += std::string("72 700 moveto (") + text + ") show showpage\n";
        writePostScript(body);
    }
    fs::path workspaceFile(const char* name) const { return fs::path(workspace_) / name; }

    kx::testing::TempFolder folder_;
    kx::testing::FakeUserInterface ui_;
    fs::path root_;
    fs::path store_;
    std::string workspace_;
    std::vector<int> endCodes_;
};

// "/usr/bin/gs" as UTF-16 text with a stray NUL before its terminator.
const std::string kGsPathWithNul
    = "hex(1):2f,00,75,00,73,00,72,00,2f,00,62,00,69,00,6e,00,2f,00,67,00,73,00,00,00,00,00";

}  // namespace

TEST(GhostscriptCommandLines, ExactTextOfBothPasses)
{
    const std::string gs = "/opt/Ghost Script/bin/gs";
    const std::string ws = "/home/a b/Korvendal/temp";
    EXPECT_EQ(BuildFirstPassCommandLine(gs, ws, PageSelection::AllPages),
        gs + kOptions + " -sOutputFile=\"" + ws + "/PdfFile.pdf\" -dCompatibilityLevel=1.4 -f \"" + ws + "/PsFile.ps\"");
    EXPECT_EQ(BuildFirstPassCommandLine(gs, ws, PageSelection::Range),
        gs + kOptions + " -sOutputFile=\"" + ws + "/PdfFiletemp.pdf\" -dCompatibilityLevel=1.4 -f \"" + ws
            + "/PsFile.ps\"");
    EXPECT_EQ(BuildSecondPassCommandLine(gs, ws, "1", "2"),
        gs + kOptions + " -dFirstPage=1 -dLastPage=2 -sOutputFile=\"" + ws
            + "/PdfFile.pdf\" -dCompatibilityLevel=1.4 -f \"" + ws + "/PdfFiletemp.pdf\"");
    // The range texts go in exactly as typed.
    EXPECT_NE(BuildSecondPassCommandLine(gs, ws, " 3", "04 ").find("-dFirstPage= 3 -dLastPage=04  -sOutputFile="),
        std::string::npos);
}

TEST_F(Rendering, LocatesGhostscriptWithoutStoredNuls)
{
    storeGhostscriptValue(kGsPathWithNul);
    EXPECT_EQ(LocateGhostscript(), std::optional<std::string>("/usr/bin/gs"));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(endCodes_.empty());
}

TEST_F(Rendering, MissingGhostscriptShowsTheMessageAndEndsTheProgram)
{
    for (const std::string data : { "\"/usr/bin/no-such-gs\"", "\"\"", "dword:00000001", "\"/usr/bin\"" }) {
        storeGhostscriptValue(data);
        EXPECT_EQ(LocateGhostscript(), std::nullopt) << data;
    }
    fs::remove(store_);
    EXPECT_EQ(LocateGhostscript(), std::nullopt);

    ASSERT_EQ(ui_.messages.size(), 5u);
    EXPECT_EQ(ui_.messages[0].text, "Converter is missing or corrupted. Please contact our Support Team.");
    EXPECT_EQ(ui_.messages[0].title, "Korvendal XL");
    EXPECT_EQ(ui_.messages[0].icon, kx::platform::MessageIcon::Critical);
    EXPECT_EQ(ui_.messages[0].buttons, kx::platform::MessageButtons::Ok);
    EXPECT_EQ(endCodes_.size(), 5u);
}

TEST_F(Rendering, AllPagesBecomeOneSearchablePdf)
{
    writePages({ "Quarterly totals", "Second sheet" });
    ASSERT_TRUE(RunFirstPass("/usr/bin/gs", workspace_, PageSelection::AllPages).started);
    ASSERT_TRUE(FinishedPdfExists(workspace_));
    EXPECT_EQ(pageCount(workspaceFile(kFinishedPdfFile)), 2);
    EXPECT_NE(pageText(workspaceFile(kFinishedPdfFile), 1).find("Quarterly totals"), std::string::npos);
    EXPECT_NE(pageText(workspaceFile(kFinishedPdfFile), 2).find("Second sheet"), std::string::npos);
}

TEST_F(Rendering, RangeModeKeepsExactlyTheAskedPages)
{
    writePages({ "Page one", "Page two", "Page three", "Page four" });
    ASSERT_TRUE(RunFirstPass("/usr/bin/gs", workspace_, PageSelection::Range).started);
    EXPECT_FALSE(FinishedPdfExists(workspace_));
    EXPECT_EQ(pageCount(workspaceFile(kIntermediatePdfFile)), 4);

    ASSERT_TRUE(RunSecondPass("/usr/bin/gs", workspace_, "2", "3").started);
    ASSERT_TRUE(FinishedPdfExists(workspace_));
    const fs::path pdf = workspaceFile(kFinishedPdfFile);
    EXPECT_EQ(pageCount(pdf), 2);
    EXPECT_NE(pageText(pdf, 1).find("Page two"), std::string::npos);
    EXPECT_NE(pageText(pdf, 2).find("Page three"), std::string::npos);
}

TEST_F(Rendering, FailingGhostscriptLeavesNoPdfBehind)
{
    // Ghostscript writes the first page, then stops at the error with exit code 1.
    writePostScript("72 700 moveto (Half) show showpage\nundefinedthing\n");
    std::ofstream(workspaceFile(kFinishedPdfFile)) << "left by an earlier job";
    const PassOutcome failed = RunFirstPass("/usr/bin/gs", workspace_, PageSelection::AllPages);
    EXPECT_TRUE(failed.started);
    EXPECT_EQ(failed.failure, "Ghostscript failed with exit code 1");
    EXPECT_FALSE(FinishedPdfExists(workspace_));

    // In range mode the failed first pass leaves nothing for the second, which then fails too.
    std::ofstream(workspaceFile(kFinishedPdfFile)) << "left by an earlier job";
    EXPECT_TRUE(RunFirstPass("/usr/bin/gs", workspace_, PageSelection::Range).started);
    EXPECT_FALSE(fs::exists(workspaceFile(kIntermediatePdfFile)));
    EXPECT_TRUE(RunSecondPass("/usr/bin/gs", workspace_, "1", "1").started);
    EXPECT_FALSE(FinishedPdfExists(workspace_));
}

TEST_F(Rendering, GhostscriptThatCannotStartIsReported)
{
    writePages({ "Page one" });
    const fs::path notProgram = root_ / "gs";
    std::ofstream(notProgram) << "not a program";
    const PassOutcome notStarted = RunFirstPass(notProgram.string(), workspace_, PageSelection::AllPages);
    EXPECT_FALSE(notStarted.started);
    EXPECT_EQ(notStarted.failure, "Ghostscript could not be started from " + notProgram.string());
    EXPECT_FALSE(FinishedPdfExists(workspace_));
}
