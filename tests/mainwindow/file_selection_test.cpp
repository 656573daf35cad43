#include "mainwindow/file_selection.h"
#include "window_harness.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace kx::testing {
namespace {

using Write = std::array<std::string, 3>;

class SourceBrowse : public ::testing::Test {
protected:
    SourceBrowse() { harness.open(); }

    void choose(std::optional<std::string> answer)
    {
        harness.ui.openChoices.push_back(std::move(answer));
        harness.click(harness.c().cmdSelectFile);
    }

    WindowHarness harness;
};

TEST_F(SourceBrowse, AcceptsAnyCaseOfXlsAndProposesThePdfBesideIt)
{
    choose("/data/Report.XLS");
    EXPECT_EQ(harness.c().txtfilepath->text(), "/data/Report.XLS");
    EXPECT_EQ(harness.c().txtfilepathOutput->text(), "/data/Report.pdf");
    EXPECT_EQ(harness.recentFolder, "/data/Report.XLS");
    EXPECT_EQ(harness.writes, (std::vector<Write>{{"SETTINGS", "PATH", "/data/Report.XLS"}}));
    EXPECT_TRUE(harness.ui.messages.empty());
}

TEST_F(SourceBrowse, RefusesOtherNamesButStillRemembersThem)
{
    harness.c().txtfilepath->setText("/data/old.xls");
    harness.c().txtfilepathOutput->setText("/data/kept.pdf");
    for (const char* refused : {"/data/Book.xlsx", "/data/Book"}) {
        choose(refused);
        EXPECT_TRUE(harness.c().txtfilepath->text().isEmpty());
        EXPECT_EQ(harness.c().txtfilepathOutput->text(), "/data/kept.pdf");
        EXPECT_EQ(harness.recentFolder, refused);
        EXPECT_EQ(harness.writes.back(), (Write{"SETTINGS", "PATH", refused}));
    }
    ASSERT_EQ(harness.ui.messages.size(), 2u);
    EXPECT_EQ(harness.ui.messages[0].text, "Invalid file selected. Please select valid Excel file only.");
    EXPECT_EQ(harness.ui.messages[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(harness.ui.messages[0].title, "Korvendal XL");
}

TEST_F(SourceBrowse, CancelChangesNothingAndWritesNothing)
{
    harness.c().txtfilepath->setText("/data/a.xls");
    choose(std::nullopt);
    EXPECT_EQ(harness.c().txtfilepath->text(), "/data/a.xls");
    EXPECT_TRUE(harness.writes.empty());
    EXPECT_EQ(harness.recentFolder, "/program");
    EXPECT_TRUE(harness.ui.messages.empty());
}

TEST_F(SourceBrowse, ReplacesATargetChosenEarlier)
{
    harness.ui.saveChoices.push_back("/out/mine.pdf");
    harness.click(harness.c().cmdBrowseOutput);
    ASSERT_EQ(harness.c().txtfilepathOutput->text(), "/out/mine.pdf");
    choose("/data/Book1.xls");
    EXPECT_EQ(harness.c().txtfilepathOutput->text(), "/data/Book1.pdf");
}

TEST_F(SourceBrowse, DialogOpensWhereTheLastChoiceWas)
{
    harness.recentFolder = "/nonexistent-folder/last.xls";
    choose(std::nullopt);
    harness.recentFolder = "";
    choose(std::nullopt);
    harness.recentFolder = "/tmp";
    choose(std::nullopt);
    ASSERT_EQ(harness.ui.openRequests.size(), 3u);
    EXPECT_EQ(harness.ui.openRequests[0].initialFolder, "/nonexistent-folder");
    EXPECT_EQ(harness.ui.openRequests[1].initialFolder, "/program");
    EXPECT_EQ(harness.ui.openRequests[2].initialFolder, "/tmp");
    EXPECT_EQ(harness.ui.openRequests[0].title, "Select Source File");
    EXPECT_EQ(harness.ui.openRequests[0].filter, "Microsoft Excel (*.xls)");
    EXPECT_EQ(harness.ui.openRequests[0].initialName, "");
}

TEST_F(SourceBrowse, AFailedSettingsWriteGoesToTheReporterWhichDecidesWhetherToGoOn)
{
    harness.failSettingsWrites = true;
    harness.reporterLetsCarryOn = true;
    choose("/data/a.xls");
    EXPECT_EQ(harness.c().txtfilepath->text(), "/data/a.xls");
    harness.reporterLetsCarryOn = false;
    choose("/data/b.xls");
    EXPECT_EQ(harness.c().txtfilepath->text(), "/data/a.xls");
    ASSERT_EQ(harness.reported.size(), 2u);
    EXPECT_EQ(harness.reported[0].source, "frmMain:cmdBrowse");
    EXPECT_EQ(harness.reported[0].description, "Permission denied");
}

class TargetBrowse : public ::testing::Test {
protected:
    TargetBrowse() { harness.open(); }

    void choose(std::optional<std::string> answer)
    {
        harness.ui.saveChoices.push_back(std::move(answer));
        harness.click(harness.c().cmdBrowseOutput);
    }

    WindowHarness harness;
};

TEST_F(TargetBrowse, AcceptsPdfInAnyCaseUnchangedAndRemembersIt)
{
    choose("/out/report.PDF");
    EXPECT_EQ(harness.c().txtfilepathOutput->text(), "/out/report.PDF");
    EXPECT_EQ(harness.recentOutputFolder, "/out/report.PDF");
    EXPECT_EQ(harness.writes, (std::vector<Write>{{"SETTINGS", "OUTPUTPATH", "/out/report.PDF"}}));
}

TEST_F(TargetBrowse, RefusesANameWithoutPdfAndForgetsIt)
{
    harness.c().txtfilepathOutput->setText("/out/kept.pdf");
    choose("/out/report");
    EXPECT_EQ(harness.c().txtfilepathOutput->text(), "/out/kept.pdf");
    EXPECT_EQ(harness.recentOutputFolder, "/program");
    EXPECT_TRUE(harness.writes.empty());
    ASSERT_EQ(harness.ui.messages.size(), 1u);
    EXPECT_EQ(harness.ui.messages[0].text, "Invalid Output file. Please select valid PDF file.");
    EXPECT_EQ(harness.ui.messages[0].icon, platform::MessageIcon::Critical);
}

TEST_F(TargetBrowse, CancelChangesNothingAndTheDialogAsksBeforeOverwriting)
{
    harness.recentOutputFolder = "/out/last.pdf";
    choose(std::nullopt);
    EXPECT_TRUE(harness.writes.empty());
    ASSERT_EQ(harness.ui.saveRequests.size(), 1u);
    EXPECT_EQ(harness.ui.saveRequests[0].title, "Save As");
    EXPECT_EQ(harness.ui.saveRequests[0].filter, "PDF File (*.pdf)");
    EXPECT_EQ(harness.ui.saveRequests[0].initialFolder, "/out");
    EXPECT_TRUE(harness.ui.saveRequests[0].confirmOverwrite);
    EXPECT_EQ(mainwindow::targetDialogRequest("nofolder.pdf").initialFolder, "");
}

class AddToList : public ::testing::Test {
protected:
    AddToList() { harness.open(); }

    void addPair(const QString& source, const QString& target)
    {
        harness.c().txtfilepath->setText(source);
        harness.c().txtfilepathOutput->setText(target);
        harness.click(harness.c().cmdAddToList);
    }

    WindowHarness harness;
};

TEST_F(AddToList, ABlankSourceIsRefusedAndTheBoxesStay)
{
    addPair("   ", "/out/a.pdf");
    EXPECT_EQ(harness.window->jobList().rowCount(), 0);
    EXPECT_EQ(harness.c().txtfilepath->text(), "   ");
    EXPECT_EQ(harness.c().txtfilepathOutput->text(), "/out/a.pdf");
    ASSERT_EQ(harness.ui.messages.size(), 1u);
    EXPECT_EQ(harness.ui.messages[0].text, "Please select a PDF File");
    EXPECT_EQ(harness.ui.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(harness.ui.messages[0].title, "Korvendal XL");
}

TEST_F(AddToList, AddsWithAnEmptyTargetAndEmptiesBothBoxesEvenForADuplicate)
{
    addPair("/a/Book.xls", "");
    EXPECT_EQ(harness.window->jobList().rowCount(), 1);
    EXPECT_TRUE(harness.c().txtfilepath->text().isEmpty());
    addPair("/b/book.xls", "/b/book.pdf");
    EXPECT_EQ(harness.window->jobList().rowCount(), 1);
    EXPECT_EQ(harness.messageTexts(), std::vector<std::string>{"File already added."});
    EXPECT_TRUE(harness.c().txtfilepath->text().isEmpty());
    EXPECT_TRUE(harness.c().txtfilepathOutput->text().isEmpty());
}

TEST(OpenAfterConversion, TickingKeepsANonZeroFlagAndTurnsZeroIntoTwo)
{
    EXPECT_EQ(mainwindow::launchAfterToggle(true, 0), 2);
    EXPECT_EQ(mainwindow::launchAfterToggle(true, 1), 1);
    EXPECT_EQ(mainwindow::launchAfterToggle(true, -1), -1);
    EXPECT_EQ(mainwindow::launchAfterToggle(false, 5), 0);

    WindowHarness harness;
    harness.launch = 0;
    harness.open();
    harness.click(harness.c().chkOpenDocEditing);
    EXPECT_EQ(harness.launch, 2);
    harness.click(harness.c().chkOpenDocEditing);
    EXPECT_EQ(harness.launch, 0);
}

}  // namespace
}  // namespace kx::testing
