#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

#include "e2e_support.h"
#include "mainwindow/main_window.h"
#include "platform/filesystem.h"
#include "platform/program_end.h"
#include "platform/ui.h"
#include "support/fake_user_interface.h"

using namespace kx;
using namespace kx::e2e;

namespace {

struct Reported {
    std::int32_t code;
    std::string description;
    std::string source;
};

// A message box as it came up, with the job list's statuses and whether the busy pointer was up
// at that moment.
struct Shown {
    platform::Message message;
    QStringList statuses;
    bool busy;
};

class WindowBatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!corpusPresent())
            GTEST_SKIP() << "no corpus at " << corpusFolder();
        previousEnd_ = platform::installProgramEndHandler([this](int) { ++programEnds; });
        mainwindow::WindowServices services;
        services.settings = {&launch, &pageRange, &recentFolder, &recentOutputFolder,
                             [](const std::string&, const std::string&, const std::string&) { return true; }};
        services.reportError = [this](std::int32_t code, const std::string& description, const std::string& source) {
            reported.push_back({code, description, source});
            return true;
        };
        services.endProgram = [this] { ++programEnds; };
        services.programFolder = machine.folder();
        services.workspaceFolder = machine.file("temp");
        window = std::make_unique<mainwindow::MainWindow>(services);
        window->show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(window.get());
        ui.onMessage = [this](const platform::Message& message) {
            shown.push_back({message, statuses(), ui.busy});
        };
    }
    void TearDown() override
    {
        window.reset();
        platform::installProgramEndHandler(previousEnd_);
    }

    const mainwindow::MainWindowControls& c() const { return window->controls(); }

    std::string target(const std::string& name) const { return machine.file(name + ".pdf"); }

    void addJob(const std::string& workbook, const std::string& pdf)
    {
        c().txtfilepath->setText(QString::fromStdString(corpusFile(workbook)));
        c().txtfilepathOutput->setText(QString::fromStdString(pdf));
        window->AddCompleteListView();
        c().txtfilepath->clear();
        c().txtfilepathOutput->clear();
    }

    void convert() { QTest::mouseClick(c().cmdConvert, Qt::LeftButton); }

    void chooseRange(const QString& from, const QString& to)
    {
        QTest::mouseClick(c().chkFromTo, Qt::LeftButton);
        c().txtFrom->setText(from);
        c().txtTo->setText(to);
    }

    QStringList statuses() const
    {
        QStringList texts;
        for (int i = 0; i < c().lvwGeneral->topLevelItemCount(); ++i)
            texts << c().lvwGeneral->topLevelItem(i)->text(3);
        return texts;
    }

    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const Shown& box : shown)
            texts.push_back(box.message.text);
        return texts;
    }

    TestMachine machine;
    kx::testing::FakeUserInterface ui;
    std::vector<Shown> shown;
    std::int16_t launch = 0;
    std::string pageRange = "1";
    std::string recentFolder, recentOutputFolder;
    std::vector<Reported> reported;
    int programEnds = 0;
    std::unique_ptr<mainwindow::MainWindow> window;

private:
    platform::ProgramEndHandler previousEnd_;
};

TEST_F(WindowBatch, ThreeRowsGiveThreePdfsAndThreeMessagesInRowOrder)
{
    addJob("poi-govdocs1-626534.xls", target("one"));
    addJob("poi-61287.xls", target("two"));
    // The third pair stays in the boxes: Convert folds it into the list.
    c().txtfilepath->setText(QString::fromStdString(corpusFile("sheetjs-text_and_numbers.xls")));
    c().txtfilepathOutput->setText(QString::fromStdString(target("three")));

    convert();

    EXPECT_EQ(statuses(), (QStringList{"Completed", "Completed", "Completed"}));
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{"POI-GOVDOCS1-626534.XLS Converted Successfully.",
                                                        "POI-61287.XLS Converted Successfully.",
                                                        "SHEETJS-TEXT_AND_NUMBERS.XLS Converted Successfully."}));
    // Each message comes while its own row is done and the later ones are still waiting.
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].statuses, (QStringList{"Completed", "", ""}));
    EXPECT_EQ(shown[1].statuses, (QStringList{"Completed", "Completed", ""}));
    EXPECT_TRUE(shown[0].busy);
    EXPECT_FALSE(ui.busy);
    for (const char* name : {"one", "two", "three"})
        EXPECT_GE(pdfPageCount(target(name)), 1) << name;
    EXPECT_NE(pdfText(target("one")).find("BANKRUPTCY CASES COMMENCED"), std::string::npos);
    EXPECT_TRUE(c().txtfilepath->text().isEmpty());
    EXPECT_TRUE(c().txtfilepathOutput->text().isEmpty());
    EXPECT_TRUE(reported.empty());
    EXPECT_TRUE(ui.opened.empty());
}

TEST_F(WindowBatch, BrokenWorkbookFailsQuietlyToTheReporterAndTheNextRowConverts)
{
    launch = 0;
    c().chkOpenDocEditing->setChecked(true);
    addJob("bad/bad-csv-renamed.xls", target("broken"));
    addJob("poi-61287.xls", target("good"));

    ::testing::internal::CaptureStderr();
    convert();
    const std::string errors = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(statuses(), (QStringList{"Failed", "Completed"}));
    // The failed row says why, in the words the command-line converter uses.
    const QString reason = c().lvwGeneral->topLevelItem(0)->toolTip(3);
    EXPECT_TRUE(reason.contains("not an Excel 97-2003 workbook")) << reason.toStdString();
    EXPECT_NE(errors.find("korvendal-xl: bad-csv-renamed.xls: Cannot open "), std::string::npos) << errors;
    EXPECT_NE(errors.find("not an Excel 97-2003 workbook"), std::string::npos) << errors;
    EXPECT_TRUE(c().lvwGeneral->topLevelItem(1)->toolTip(3).isEmpty());
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].code, 1005);
    EXPECT_EQ(reported[0].source, "frmMain:cmdBrowse");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"POI-61287.XLS Converted Successfully."});
    EXPECT_FALSE(platform::visibleEntryExists(target("broken")));
    // Opened after the success only.
    EXPECT_EQ(ui.opened, std::vector<std::string>{target("good")});
}

TEST_F(WindowBatch, RangeTwoToThreeGivesExactlyThosePrintedPages)
{
    addJob("poi-45538_classic_Footer.xls", target("all"));
    convert();
    ASSERT_EQ(statuses(), QStringList{"Completed"});

    c().lvwGeneral->clear();
    addJob("poi-45538_classic_Footer.xls", target("range"));
    chooseRange("2", "3");
    convert();

    ASSERT_EQ(statuses(), QStringList{"Completed"});
    EXPECT_EQ(pdfPageCount(target("range")), 2);
    EXPECT_EQ(pdfText(target("range")), pdfText(target("all"), 2, 3));
    EXPECT_FALSE(platform::visibleEntryExists(machine.file("temp/PdfFiletemp.pdf")));
}

TEST_F(WindowBatch, ExistingTargetIsOverwrittenAndAFailingSecondJobShowsFailed)
{
    runCommand("printf 'not a PDF' > '" + target("first") + "'");
    addJob("poi-61287.xls", target("first"));
    addJob("poi-blankworkbook.xls", target("second"));

    convert();

    EXPECT_EQ(statuses(), (QStringList{"Completed", "Failed"}));
    EXPECT_GE(pdfPageCount(target("first")), 1);
    EXPECT_FALSE(platform::visibleEntryExists(target("second")));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].code, 1009);

    // Converting again redoes every row, the good one included.
    shown.clear();
    convert();
    EXPECT_EQ(statuses(), (QStringList{"Completed", "Failed"}));
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(WindowBatch, WorkspaceInUseByAnotherProgramIsWaitedForWithTheWindowResponsive)
{
    const std::string workspace = machine.file("temp");
    platform::ensureFolder(workspace);
    const CommandResult holder = runCommand("flock -n '" + workspace + "' -c true && echo free");
    ASSERT_EQ(holder.output, "free\n");
    addJob("poi-61287.xls", target("waited"));
    // Another program holds the workspace for a while.
    runCommand("(flock '" + workspace + "' -c 'sleep 2' >/dev/null 2>&1 &) ; sleep 0.3");
    QStringList statusesWhileWaiting;
    QTimer::singleShot(500, [&] { statusesWhileWaiting = statuses(); });

    convert();

    EXPECT_EQ(statusesWhileWaiting, QStringList{"Converting..."});
    EXPECT_EQ(statuses(), QStringList{"Completed"});
    EXPECT_GE(pdfPageCount(target("waited")), 1);
}

TEST_F(WindowBatch, ChecksRefuseBadNumbersInOrderAndMoveTheFocus)
{
    window->activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window.get());
    addJob("poi-61287.xls", target("checked"));
    const auto refusal = [this](const QString& from, const QString& to, const QString& zoom) {
        shown.clear();
        c().txtFrom->setText(from);
        c().txtTo->setText(to);
        c().txtAdjust->setText(zoom);
        convert();
        return shown.empty() ? std::string() : shown.front().message.text;
    };
    const std::string fromMessage = "Please enter value in Page Range From field";
    const std::string adjustMessage = "Please enter valid value in Page Adjust field";
    const std::string rangeMessage = "Please enter value in range between 10 and 400 in Page Adjust field";

    EXPECT_EQ(refusal("", "x", "100"), fromMessage);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(refusal("1", " ", "100"), "Please enter value in Page Range To field");
    EXPECT_EQ(refusal("1", "2", "  "), adjustMessage);
    EXPECT_EQ(QApplication::focusWidget(), c().txtAdjust);
    EXPECT_EQ(refusal("1", "2", "abc"), adjustMessage);
    EXPECT_EQ(refusal("1", "2", "9"), rangeMessage);
    EXPECT_EQ(refusal("1", "2", "9.5"), rangeMessage);
    EXPECT_EQ(refusal("1", "2", "401"), rangeMessage);
    EXPECT_EQ(refusal("1", "2", "nan"), adjustMessage);
    EXPECT_EQ(refusal("1", "2", "inf"), adjustMessage);
    EXPECT_EQ(shown.front().message.title, "Korvendal XL");
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(statuses(), QStringList{""});

    EXPECT_EQ(refusal("1", "2", "400"), "POI-61287.XLS Converted Successfully.");
    EXPECT_EQ(refusal("1", "2", " 10 "), "POI-61287.XLS Converted Successfully.");
    EXPECT_EQ(programEnds, 0);
}

}  // namespace
