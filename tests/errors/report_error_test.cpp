#include "errors/report_error.h"

#include <gtest/gtest.h>

#include "support/fake_user_interface.h"

namespace kx::errors {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;

const char* const kOverflowText = "Error: OverFlow of Controls.\r\nYou have exceeded the control limits.";

struct CodeCase {
    std::int32_t code;
    bool mayContinue;
    bool showsDatabaseMessage;
    bool showsOverflowMessage;
};

class ReportErrorByCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ReportErrorByCode, GivesTheVerdictAndOnlyTheMessageOfItsCode)
{
    const CodeCase c = GetParam();
    testing::FakeUserInterface ui;
    EXPECT_EQ(ReportError(c.code, "Unspecified error", "frmMain:cmdBrowse"), c.mayContinue);

    const bool showsMessage = c.showsDatabaseMessage || c.showsOverflowMessage;
    ASSERT_EQ(ui.messages.size(), showsMessage ? 1u : 0u);
    if (!showsMessage)
        return;
    const platform::Message& message = ui.messages[0];
    EXPECT_EQ(message.title, "");
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    if (c.showsOverflowMessage)
        EXPECT_EQ(message.text, kOverflowText);
    else
        EXPECT_EQ(message.text, "Following error occured while accessing database:\r\n\r\n"
                                "Unspecified error\r\n\r\nPlease contact the database administrator.");
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportErrorByCode,
    ::testing::Values(CodeCase{6, false, false, true},
                      CodeCase{91, false, false, false},
                      CodeCase{3704, false, false, false},
                      CodeCase{35773, false, false, false},
                      CodeCase{-2147217900, false, false, false},  // 0x80040E14
                      CodeCase{-2147467259, false, true, false},   // 0x80004005
                      CodeCase{-2147217885, false, true, false},   // 0x80040E23
                      CodeCase{-2147217865, false, true, false},   // 0x80040E37
                      // Everything else carries on silently: other run-time errors, an
                      // automation failure of the spreadsheet application, workbook engine failures.
                      CodeCase{5, true, false, false},
                      CodeCase{13, true, false, false},
                      CodeCase{0, true, false, false},
                      CodeCase{7, true, false, false},
                      CodeCase{-2146827284, true, false, false},  // 0x800A03EC
                      CodeCase{1008, true, false, false},
                      CodeCase{-2147217899, true, false, false},  // a neighbour of 0x80040E14
                      CodeCase{35772, true, false, false}));

TEST(ReportError, DatabaseMessageCarriesTheDescriptionVerbatim)
{
    testing::FakeUserInterface ui;
    EXPECT_FALSE(ReportError(-2147467259, "", "x"));
    EXPECT_FALSE(ReportError(-2147467259, "line one\r\nline two", "x"));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Following error occured while accessing database:\r\n\r\n"
                                   "\r\n\r\nPlease contact the database administrator.");
    EXPECT_NE(ui.messages[1].text.find("\r\n\r\nline one\r\nline two\r\n\r\n"), std::string::npos);
}

TEST(ReportError, AlwaysLeavesTheDefaultPointerBehind)
{
    testing::FakeUserInterface ui;
    for (const std::int32_t code : {6, 5, 91, -2147467259}) {
        ui.showBusyPointer();
        ReportError(code, "d", "frmMain:Image9_Click");
        EXPECT_FALSE(ui.busy) << code;
    }
}

TEST(ReportError, SourceLabelChangesNothing)
{
    for (const char* label : {"tmr_Timer()", "ModMain : OpenDatabase", "", "modSettings : Main()"}) {
        testing::FakeUserInterface ui;
        EXPECT_FALSE(ReportError(6, "d", label));
        EXPECT_TRUE(ReportError(13, "d", label));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, kOverflowText);
    }
}

TEST(ReportError, FailingMessageBoxDoesNotEscapeAndKeepsTheVerdict)
{
    testing::FakeUserInterface ui;
    ui.failMessages = true;
    bool mayContinue = true;
    EXPECT_NO_THROW(mayContinue = ReportError(6, "d", "x"));
    EXPECT_FALSE(mayContinue);
    EXPECT_NO_THROW(mayContinue = ReportError(-2147467259, "d", "x"));
    EXPECT_FALSE(mayContinue);
    EXPECT_EQ(ui.messages.size(), 2u);  // both boxes were asked for, and both failed
}

}  // namespace
}  // namespace kx::errors
