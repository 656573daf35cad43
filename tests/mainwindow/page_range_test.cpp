#include "mainwindow/numeric_text.h"
#include "mainwindow/page_range.h"
#include "window_harness.h"

#include <QKeyEvent>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace kx::testing {
namespace {

class PageRangeTest : public ::testing::Test {
protected:
    PageRangeTest() { harness.open(); }

    // Selects "Select Page Range", empties `box` and types `keys` into it.
    QString typed(QLineEdit* box, const QString& keys)
    {
        harness.click(harness.c().chkFromTo);
        box->clear();
        WindowHarness::type(box, keys);
        return box->text();
    }

    WindowHarness harness;
};

TEST_F(PageRangeTest, SwitchingOptionsEnablesTheBoxesAndKeepsTheirTexts)
{
    const auto& c = harness.c();
    harness.click(c.chkFromTo);
    EXPECT_TRUE(c.txtFrom->isEnabled());
    EXPECT_TRUE(c.txtTo->isEnabled());
    EXPECT_FALSE(c.chkAllPages->isChecked());
    c.txtFrom->setText("3");
    c.txtTo->setText("7");
    harness.click(c.chkAllPages);
    EXPECT_FALSE(c.txtFrom->isEnabled());
    EXPECT_FALSE(c.txtTo->isEnabled());
    harness.click(c.chkFromTo);
    EXPECT_EQ(c.txtFrom->text(), "3");
    EXPECT_EQ(c.txtTo->text(), "7");
    EXPECT_TRUE(c.optPotrait->isChecked());  // the other option pair is a group of its own
}

TEST_F(PageRangeTest, FromBoxTakesSeparatorsOnlyAfterADigit)
{
    const auto from = harness.c().txtFrom;
    EXPECT_EQ(typed(from, "-"), "");
    EXPECT_EQ(typed(from, ","), "");
    EXPECT_EQ(typed(from, "1--"), "1-");
    EXPECT_EQ(typed(from, "1,3"), "1,3");
    EXPECT_EQ(typed(from, "1-,"), "1-");
    EXPECT_EQ(typed(from, "a1 b2"), "12");
    EXPECT_EQ(typed(from, "1234"), "123");
}

TEST_F(PageRangeTest, FromBoxLooksAtTheLastCharacterWhereverTheCaretIs)
{
    const auto from = harness.c().txtFrom;
    typed(from, "1-");
    from->setCursorPosition(0);
    QTest::keyClicks(from, ",");
    EXPECT_EQ(from->text(), "1-");
    typed(from, "12");
    from->setCursorPosition(0);
    QTest::keyClicks(from, "-");
    EXPECT_EQ(from->text(), "-12");
}

TEST_F(PageRangeTest, FromBoxDropsControlCharactersButNotBackspace)
{
    const auto from = harness.c().txtFrom;
    typed(from, "12");
    QTest::keyClick(from, Qt::Key_Backspace);
    EXPECT_EQ(from->text(), "1");
    // X11 gives Delete the text DEL (127); it edits and is no typed character.
    from->setCursorPosition(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(127)));
    QApplication::sendEvent(from, &del);
    EXPECT_EQ(from->text(), "");
    EXPECT_FALSE(mainwindow::fromBoxTakes(3, "1"));   // Ctrl+C
    EXPECT_FALSE(mainwindow::fromBoxTakes(22, "1"));  // Ctrl+V
    EXPECT_FALSE(mainwindow::fromBoxTakes(' ', "1"));
    EXPECT_TRUE(mainwindow::fromBoxTakes(mainwindow::kBackspace, ""));
}

TEST_F(PageRangeTest, ToBoxTakesHyphensAlwaysAndOtherCharactersAfterANumber)
{
    const auto to = harness.c().txtTo;
    EXPECT_EQ(typed(to, "12a"), "12a");
    EXPECT_EQ(typed(to, "a"), "");
    EXPECT_EQ(typed(to, "--"), "--");
    EXPECT_EQ(typed(to, "1-a"), "1-");  // "1-" is not a number
    EXPECT_EQ(typed(to, "1ab"), "1a");  // "1a" is not a number any more
    EXPECT_EQ(typed(to, "9999"), "999");
}

TEST(NumericText, ReadsOneNumberBetweenBlanks)
{
    EXPECT_EQ(mainwindow::numericValue(" 12 "), 12.0);
    EXPECT_EQ(mainwindow::numericValue("-3"), -3.0);
    EXPECT_EQ(mainwindow::numericValue("9.5"), 9.5);
    for (const char* text : {"", "   ", "1-3", "12a", "a", "1,3,", "nan", "inf", "-inf", "infinity", "NaN"})
        EXPECT_FALSE(mainwindow::isNumericText(text)) << text;
}

}  // namespace
}  // namespace kx::testing
