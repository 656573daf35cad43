#include <gtest/gtest.h>

#include "platform/program_end.h"

using namespace kx::platform;

TEST(ProgramEnd, EndsAtOnceUnlessAHandlerIsInstalled)
{
    EXPECT_EXIT(endProgram(3), ::testing::ExitedWithCode(3), "");

    int requested = 0;
    installProgramEndHandler([&](int code) { requested = code; });
    endProgram(5);
    EXPECT_EQ(requested, 5);
    installProgramEndHandler({});
    EXPECT_EXIT(endProgram(4), ::testing::ExitedWithCode(4), "");
}
