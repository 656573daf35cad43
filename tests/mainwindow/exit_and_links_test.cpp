#include "window_harness.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kx::testing {
namespace {

using platform::MessageAnswer;

void expectExitQuestion(const platform::Message& message)
{
    EXPECT_EQ(message.text, "Do you really want to exit the application?");
    EXPECT_EQ(message.title, "Korvendal XL");
    EXPECT_EQ(message.icon, platform::MessageIcon::Question);
    EXPECT_EQ(message.buttons, platform::MessageButtons::YesNo);
}

TEST(Exit, NoToTheCloseBoxKeepsTheWindowAndItsJobs)
{
    WindowHarness harness;
    harness.open();
    mainwindow::AddCompleteListView(harness.window->jobList(), "/a/Book.xls", "");
    harness.ui.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(harness.window->close());
    EXPECT_TRUE(harness.window->isVisible());
    EXPECT_EQ(harness.window->jobList().rowCount(), 1);
    EXPECT_EQ(harness.endRequests, 0);
    ASSERT_EQ(harness.ui.messages.size(), 1u);
    expectExitQuestion(harness.ui.messages[0]);
}

TEST(Exit, YesToTheCloseBoxEndsTheProgram)
{
    WindowHarness harness;
    harness.open();
    harness.ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(harness.window->close());
    EXPECT_EQ(harness.endRequests, 1);
    EXPECT_EQ(harness.ui.messages.size(), 1u);
}

TEST(Exit, CloseButtonAndEscapeAskOnceAndEndOnYes)
{
    WindowHarness harness;
    harness.open();
    harness.ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
    harness.c().txtfilepath->setFocus();
    QTest::keyClick(harness.c().txtfilepath, Qt::Key_Escape);
    EXPECT_EQ(harness.endRequests, 0);
    harness.click(harness.c().cmdExit);
    EXPECT_EQ(harness.endRequests, 1);
    ASSERT_EQ(harness.ui.messages.size(), 2u);
    expectExitQuestion(harness.ui.messages[1]);
}

TEST(Exit, ALogOffAsksTheQuestionOnceAndNoKeepsTheProgram)
{
    WindowHarness harness;
    harness.open();
    harness.ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_FALSE(harness.window->agreeToSessionEnd(true));
    EXPECT_TRUE(harness.window->isVisible());
    EXPECT_TRUE(harness.window->agreeToSessionEnd(true));
    ASSERT_EQ(harness.ui.messages.size(), 2u);
    expectExitQuestion(harness.ui.messages[1]);
    // The session then closes the window, which asks no more.
    EXPECT_TRUE(harness.window->close());
    EXPECT_EQ(harness.ui.messages.size(), 2u);
    EXPECT_EQ(harness.endRequests, 1);
}

TEST(Exit, AFailingQuestionIsReportedAndTheWindowStays)
{
    WindowHarness harness;
    harness.open();
    harness.ui.failMessages = true;
    EXPECT_FALSE(harness.window->close());
    EXPECT_TRUE(harness.window->isVisible());
    ASSERT_EQ(harness.ui.messages.size(), 1u);
    expectExitQuestion(harness.ui.messages[0]);
    ASSERT_EQ(harness.reported.size(), 1u);
    EXPECT_EQ(harness.reported[0].source, "frmMain:Form_QueryUnload");
    EXPECT_EQ(harness.endRequests, 0);
}

TEST(Keyboard, EnterPressesBrowseUnlessAnotherButtonHasTheFocus)
{
    WindowHarness harness;
    harness.open();
    harness.c().txtfilepathOutput->setFocus();
    QTest::keyClick(harness.c().txtfilepathOutput, Qt::Key_Return);
    EXPECT_EQ(harness.ui.openRequests.size(), 1u);
    harness.c().cmdBrowseOutput->setFocus();
    QTest::keyClick(harness.c().cmdBrowseOutput, Qt::Key_Return);
    EXPECT_EQ(harness.ui.openRequests.size(), 1u);
    EXPECT_EQ(harness.ui.saveRequests.size(), 1u);
    harness.c().cmdHelp->setFocus();
    QTest::keyClick(harness.c().cmdHelp, Qt::Key_Return);
    EXPECT_EQ(harness.ui.openRequests.size(), 1u);
    EXPECT_EQ(harness.ui.opened, std::vector<std::string>{"/program/help/KorvendalExcel.html"});
}

TEST(Keyboard, AccessKeysPressTheirButtons)
{
    WindowHarness harness;
    harness.open();
    // An access key presses its button after the button's short pressed-down look.
    QTest::keyClick(harness.window.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return harness.ui.saveRequests.size() == 1; }));
    QTest::keyClick(harness.window.get(), Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return harness.ui.messages.size() == 1; }));
    EXPECT_EQ(harness.messageTexts(), std::vector<std::string>{"Please select a PDF File"});
}

TEST(Links, OpenTheVendorPagesAndTheLocalHelpSilently)
{
    WindowHarness harness;
    harness.open();
    harness.ui.desktopOpens = false;
    harness.click(harness.c().cmdHomeLink);
    harness.click(harness.c().cmdContactUs);
    harness.click(harness.c().cmdHelp);
    ASSERT_EQ(harness.ui.opened.size(), 3u);
    EXPECT_TRUE(QString::fromStdString(harness.ui.opened[0]).endsWith("/index.aspx"));
    EXPECT_TRUE(QString::fromStdString(harness.ui.opened[1]).endsWith("/contactus.aspx?pg=1"));
    EXPECT_EQ(harness.ui.opened[2], "/program/help/KorvendalExcel.html");
    EXPECT_TRUE(harness.ui.messages.empty());  // a failed open is not reported
    EXPECT_TRUE(harness.reported.empty());
}

}  // namespace
}  // namespace kx::testing
