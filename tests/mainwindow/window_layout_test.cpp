#include "window_harness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kx::testing {
namespace {

TEST(MainWindowLayout, FixedSizeTitleAndPlacesInPixelsAtFifteenTwips)
{
    WindowHarness harness;
    auto& window = harness.open();
    EXPECT_EQ(window.windowTitle(), "Korvendal - Excel to PDF Converter");
    EXPECT_EQ(window.size(), QSize(658, 460));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(harness.c().txtfilepath->geometry(), QRect(24, 112, 515, 23));
    EXPECT_EQ(harness.c().lvwGeneral->geometry(), QRect(20, 212, 614, 84));
    EXPECT_EQ(harness.c().cmdExit->geometry(), QRect(568, 432, 75, 21));
    EXPECT_EQ(harness.c().picMain->palette().color(QPalette::Window), QColor(239, 240, 244));
}

TEST(MainWindowLayout, CaptionsKeepTheirAccessKeysAndSpelling)
{
    WindowHarness harness;
    harness.open();
    const auto& c = harness.c();
    EXPECT_EQ(c.cmdSelectFile->text(), "&Browse");
    EXPECT_EQ(c.cmdBrowseOutput->text(), "B&rowse");
    EXPECT_EQ(c.cmdAddToList->text(), "&Add To List");
    EXPECT_EQ(c.cmdClearList->text(), "C&lear List");
    EXPECT_EQ(c.cmdConvert->text(), "&Convert");
    EXPECT_EQ(c.cmdExit->text(), "C&lose");
    EXPECT_EQ(c.optPotrait->text(), "Potrait");
    EXPECT_EQ(c.chkOpenDocEditing->text(), "Open File After Conversion");
    EXPECT_EQ(c.cmdHomeLink->toolTip(), "OrvPDF Home Page");
    EXPECT_EQ(c.cmdContactUs->toolTip(), "Contact Us");
    EXPECT_EQ(c.cmdHelp->toolTip(), "Help");
}

TEST(MainWindowLayout, JobListHasFourKeyedColumnsWithOnlyNameAndStatusVisible)
{
    WindowHarness harness;
    harness.open();
    QTreeWidget* list = harness.c().lvwGeneral;
    const QStringList headers{"Excel File", "Source Location", "Target Location", "Status"};
    const QStringList keys{"flName", "source", "detination", "status"};
    const int widths[] = {400, 0, 0, 133};
    ASSERT_EQ(list->columnCount(), 4);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(list->headerItem()->text(column), headers[column]);
        EXPECT_EQ(list->headerItem()->data(column, Qt::UserRole).toString(), keys[column]);
        EXPECT_EQ(list->header()->sectionSize(column), widths[column]);
    }
    EXPECT_EQ(list->topLevelItemCount(), 0);
}

TEST(MainWindowLifecycle, OpensWithTheInitialOptionsAndEmptyPathBoxes)
{
    WindowHarness harness;
    harness.recentFolder = "/data/last.xls";  // remembered paths are for the dialogs only
    harness.open();
    const auto& c = harness.c();
    EXPECT_TRUE(c.txtfilepath->text().isEmpty());
    EXPECT_TRUE(c.txtfilepathOutput->text().isEmpty());
    EXPECT_TRUE(c.chkAllPages->isChecked());
    EXPECT_FALSE(c.chkFromTo->isChecked());
    EXPECT_TRUE(c.chkFromTo->isEnabled());
    EXPECT_EQ(c.txtFrom->text(), "1");
    EXPECT_EQ(c.txtTo->text(), "2");
    EXPECT_FALSE(c.txtFrom->isEnabled());
    EXPECT_FALSE(c.txtTo->isEnabled());
    EXPECT_EQ(c.txtFrom->maxLength(), 3);
    EXPECT_EQ(c.txtTo->maxLength(), 3);
    EXPECT_EQ(c.txtAdjust->maxLength(), 3);
    EXPECT_TRUE(c.optPotrait->isChecked());
    EXPECT_FALSE(c.optLandscape->isChecked());
    EXPECT_EQ(c.txtAdjust->text(), "100");
    EXPECT_EQ(c.cboPaperSize->currentText(), "A4");
    EXPECT_EQ(c.cboPaperSize->count(), 6);
    EXPECT_TRUE(c.chkShowGridlines->isChecked());
    EXPECT_FALSE(c.chkHeader->isChecked());
    EXPECT_TRUE(c.cmdConvert->isEnabled());
}

TEST(MainWindowLifecycle, OpenAfterConversionFollowsTheStoredFlagWithoutChangingIt)
{
    for (std::int16_t stored : {std::int16_t{0}, std::int16_t{1}, std::int16_t{-1}, std::int16_t{7}}) {
        WindowHarness harness;
        harness.launch = stored;
        harness.open();
        EXPECT_EQ(harness.c().chkOpenDocEditing->isChecked(), stored != 0) << stored;
        EXPECT_EQ(harness.launch, stored);
    }
}

TEST(MainWindowLifecycle, FromBoxStartsWithTheStoredPageRangeText)
{
    WindowHarness harness;
    harness.pageRange = "5";
    harness.open();
    EXPECT_EQ(harness.c().txtFrom->text(), "5");
}

}  // namespace
}  // namespace kx::testing
