#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "conversion/process_runner.h"
#include "support/temp_folder.h"

using namespace kx::conversion;
namespace fs = std::filesystem;

TEST(RunProcessAndWait, AnswersWhetherTheProgramStartedNotHowItEnded)
{
    const kx::testing::TempFolder temp;
    const fs::path folder = temp.path();
    const fs::path program = folder / "exit four";
    std::ofstream(program) << "#!/bin/sh\ntouch ran\nexit 4\n";
    fs::permissions(program, fs::perms::owner_all);

    kx::platform::ProcessResult ended;
    EXPECT_TRUE(RunProcessAndWait(program.string() + " -x", folder.string(), kWaitWithoutLimit, kHiddenWindow,
        kHighPriorityClass, &ended));
    EXPECT_EQ(ended.exitCode, 4);
    EXPECT_TRUE(fs::exists(folder / "ran"));

    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunProcessAndWait((folder / "missing").string(), folder.string(), kWaitWithoutLimit, kHiddenWindow,
        kHighPriorityClass));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));

    // A wait limit that runs out still counts as started.
    EXPECT_TRUE(RunProcessAndWait("/bin/sleep 0.5", folder.string(), 50, kHiddenWindow, 0, &ended));
    EXPECT_EQ(ended.end, kx::platform::ProcessEnd::StillRunning);
}
