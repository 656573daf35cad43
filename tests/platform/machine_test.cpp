#include <gtest/gtest.h>

#include "platform/machine.h"

using kx::platform::processorsInQuota;

TEST(ProcessorsInQuota, WholeProcessorsRoundedUpAndNothingWithoutALimit)
{
    const std::pair<const char*, int> cases[] = {
        {"200000 100000\n", 2}, {"150000 100000", 2}, {"50000 100000", 1}, {"max 100000\n", 0},
        {"", 0}, {"-1 100000", 0}, {"100000 0", 0}, {"lots 100000", 0},
    };
    for (const auto& [cpuMax, processors] : cases)
        EXPECT_EQ(processorsInQuota(cpuMax), processors) << cpuMax;
}
