// Libraries opened while the program runs: a missing library or function is a print failure
// that names it, found when the library is opened, never a crash at the first call.
#include <gtest/gtest.h>

#include "workbook/model/error.h"
#include "workbook/pictures/shared_library.h"

namespace kx::workbook {
namespace {

std::string failureOf(void (*open)())
{
    try {
        open();
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.code(), ErrorCode::PrintFailed);
        return error.what();
    }
    ADD_FAILURE() << "no WorkbookError";
    return {};
}

TEST(SharedLibrary, FindsTheNamedFunctionsAndCallsThem)
{
    const SharedLibrary math("libm.so.6", {"cos", "hypot"});
    EXPECT_DOUBLE_EQ(math.function<double(double)>("cos")(0.0), 1.0);
    EXPECT_DOUBLE_EQ(math.function<double(double, double)>("hypot")(3.0, 4.0), 5.0);
    EXPECT_THROW(math.function<double(double)>("sin"), WorkbookError);
}

TEST(SharedLibrary, AMissingLibraryOrFunctionFailsWhenOpenedAndNamesIt)
{
    EXPECT_NE(failureOf([] { SharedLibrary("libkx-no-such-library.so.9", {"anything"}); })
                  .find("libkx-no-such-library.so.9"),
              std::string::npos);
    const std::string missingFunction = failureOf([] { SharedLibrary("libm.so.6", {"cos", "kx_no_such_function"}); });
    EXPECT_NE(missingFunction.find("libm.so.6"), std::string::npos);
    EXPECT_NE(missingFunction.find("kx_no_such_function"), std::string::npos);
}

}  // namespace
}  // namespace kx::workbook
