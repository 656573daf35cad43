#include "errors/failure.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <variant>
#include <vector>

#include "support/fake_user_interface.h"
#include "workbook/model/error.h"

namespace kx::errors {
namespace {

template <typename Thrower>
ErrorInfo describeThrown(Thrower thrower)
{
    try {
        thrower();
    } catch (...) {
        return describeFailure<workbook::WorkbookError>(std::current_exception());
    }
    ADD_FAILURE() << "nothing was thrown";
    return {};
}

TEST(DescribeFailure, MapsEachKindOfFailureToItsNumber)
{
    EXPECT_EQ(describeThrown([] { throw std::overflow_error("sum too large"); }).number, kOverflow);
    EXPECT_EQ(describeThrown([] { requireObject(static_cast<int*>(nullptr)); }).number, kObjectNotSet);
    EXPECT_EQ(describeThrown([] { throw std::bad_alloc(); }).number, kOutOfMemory);
    EXPECT_EQ(describeThrown([] { (void)std::vector<int>{}.at(3); }).number, kSubscriptOutOfRange);
    EXPECT_EQ(describeThrown([] { throw std::invalid_argument("bad"); }).number, kInvalidProcedureCall);
    EXPECT_EQ(describeThrown([] { (void)std::get<int>(std::variant<int, double>{1.0}); }).number, kTypeMismatch);
    EXPECT_EQ(describeThrown([] { throw std::runtime_error("odd"); }).number, kInternalError);
    EXPECT_EQ(describeThrown([] { throw 42; }).number, kInternalError);
    EXPECT_EQ(describeThrown([] { throw RunTimeError(429, "cannot create"); }).number, 429);
}

TEST(DescribeFailure, FileSystemFailuresTellAMissingFileFromOtherTrouble)
{
    const ErrorInfo missing = describeThrown([] {
        (void)std::filesystem::file_size("/nonexistent/korvendal/none.xls");
    });
    EXPECT_EQ(missing.number, kFileNotFound);
    EXPECT_NE(missing.description.find("none.xls"), std::string::npos);

    const ErrorInfo denied = describeThrown([] {
        throw std::filesystem::filesystem_error("copy", std::make_error_code(std::errc::permission_denied));
    });
    EXPECT_EQ(denied.number, kPathFileAccessError);
}

TEST(DescribeFailure, WorkbookEngineFailuresKeepTheirNumberAndSentence)
{
    const ErrorInfo info = describeThrown([] {
        throw workbook::WorkbookError(workbook::ErrorCode::Corrupt, "The workbook is damaged.");
    });
    EXPECT_EQ(info.number, 1008);
    EXPECT_EQ(info.description, "The workbook is damaged.");

    // Without naming the engine's type the failure is still reported, only less precisely.
    try {
        throw workbook::WorkbookError(workbook::ErrorCode::Corrupt, "The workbook is damaged.");
    } catch (...) {
        const ErrorInfo plain = describeFailure(std::current_exception());
        EXPECT_EQ(plain.number, kInternalError);
        EXPECT_EQ(plain.description, "The workbook is damaged.");
    }
}

TEST(DescribeFailure, NoFailureIsNumberZero)
{
    EXPECT_EQ(describeFailure(nullptr).number, 0);
    EXPECT_EQ(describeFailure<workbook::WorkbookError>(nullptr).number, 0);
}

TEST(ReportCurrentFailure, OverflowStopsWithItsMessageAndMissingObjectStopsSilently)
{
    testing::FakeUserInterface ui;
    try {
        throw std::overflow_error("too many");
    } catch (...) {
        EXPECT_FALSE(reportCurrentFailure("frmMain:cmdBrowse"));
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("Error: OverFlow of Controls.", 0), 0u) << ui.messages[0].text;
    try {
        requireObject(static_cast<std::string*>(nullptr));
    } catch (...) {
        EXPECT_FALSE(reportCurrentFailure("frmMain:cmdBrowse"));
    }
    EXPECT_EQ(ui.messages.size(), 1u);
    try {
        throw workbook::WorkbookError(workbook::ErrorCode::FileNotFound, "gone");
    } catch (...) {
        EXPECT_TRUE(reportCurrentFailure<workbook::WorkbookError>("frmMain:cmdBrowse"));
    }
    EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
}  // namespace kx::errors
