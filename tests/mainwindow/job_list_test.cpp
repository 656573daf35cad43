#include "mainwindow/job_list.h"
#include "window_harness.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace kx::testing {
namespace {

using mainwindow::JobList;

class JobListTest : public ::testing::Test {
protected:
    JobListTest() { harness.open(); }

    bool add(const QString& source, const QString& target = "/out/x.pdf")
    {
        return mainwindow::AddCompleteListView(harness.window->jobList(), source, target);
    }

    JobList& list() { return harness.window->jobList(); }

    WindowHarness harness;
};

TEST_F(JobListTest, RefusesAFileNameAlreadyListedWhateverItsFolderOrCase)
{
    EXPECT_TRUE(add("/a/Book1.xls"));
    EXPECT_FALSE(add("/b/BOOK1.XLS"));
    EXPECT_EQ(harness.fileNames(), QStringList{"Book1.xls"});
    ASSERT_EQ(harness.ui.messages.size(), 1u);
    EXPECT_EQ(harness.ui.messages[0].text, "File already added.");
    EXPECT_EQ(harness.ui.messages[0].title, "Korvendal - Excel to PDF Converter");
    EXPECT_EQ(harness.ui.messages[0].icon, platform::MessageIcon::Information);
}

TEST_F(JobListTest, FindsADuplicateAtAnyPositionOfTheList)
{
    add("/a/first.xls");
    add("/a/middle.xls");
    add("/a/last.xls");
    for (const char* again : {"/z/FIRST.xls", "/z/Middle.xls", "/z/last.XLS"})
        EXPECT_FALSE(add(again)) << again;
    EXPECT_EQ(list().rowCount(), 3);
}

TEST_F(JobListTest, KeepsTheFirstTargetWhenTheSameSourceComesAgain)
{
    add("/a/Book.xls", "/out/one.pdf");
    add("/a/Book.xls", "/out/two.pdf");
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(list().row(1)->strDestination, "/out/one.pdf");
}

TEST_F(JobListTest, RowsHoldPathsUnchangedInInsertionOrder)
{
    add("/a b/Sales 2019.xls", "");
    add("plain.xls", "plain.pdf");
    const auto first = list().row(1);
    const auto second = list().row(2);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->inti, 1);
    EXPECT_EQ(first->strFileName, "Sales 2019.xls");
    EXPECT_EQ(first->strsource, "/a b/Sales 2019.xls");
    EXPECT_EQ(first->strDestination, "");
    EXPECT_EQ(first->strStatus, "");
    EXPECT_EQ(second->strFileName, "plain.xls");  // no folder part: the whole path
    EXPECT_FALSE(list().row(0));
    EXPECT_FALSE(list().row(3));
}

TEST_F(JobListTest, StatusWritesReachOnlyExistingRows)
{
    add("/a/one.xls");
    add("/a/two.xls");
    list().UpdateListViewStatus(2, "Completed");
    list().UpdateListViewStatus(3, "Failed");
    list().UpdateListViewStatus(0, "Failed");
    list().UpdateListViewStatus(-1, "Failed");
    EXPECT_EQ(list().row(1)->strStatus, "");
    EXPECT_EQ(list().row(2)->strStatus, "Completed");
    EXPECT_EQ(list().rowCount(), 2);
    add("/a/three.xls");
    EXPECT_EQ(list().row(3)->strStatus, "");
    EXPECT_TRUE(harness.ui.messages.empty());
}

TEST_F(JobListTest, ClearListEmptiesTheListButNotThePathBoxes)
{
    harness.click(harness.c().cmdClearList);  // an empty list: nothing happens
    add("/a/one.xls");
    add("/a/two.xls");
    harness.c().txtfilepath->setText("/a/three.xls");
    harness.click(harness.c().cmdClearList);
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_EQ(harness.c().txtfilepath->text(), "/a/three.xls");
    EXPECT_TRUE(harness.ui.messages.empty());
    EXPECT_TRUE(add("/a/one.xls"));  // a cleared name may come back
}

TEST_F(JobListTest, WindowAddsThePairStandingInItsBoxes)
{
    harness.c().txtfilepath->setText("/a/Book.xls");
    harness.c().txtfilepathOutput->setText("/b/Book.pdf");
    harness.window->AddCompleteListView();
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(list().row(1)->strDestination, "/b/Book.pdf");
    EXPECT_EQ(harness.c().txtfilepath->text(), "/a/Book.xls");  // the callers empty the boxes
}

}  // namespace
}  // namespace kx::testing
