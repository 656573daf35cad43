#include "platform/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// Settings and workspaces are placed under the home folder: a relative one would put them in
// whatever folder the program was started from.
TEST(HomeFolder, IsHomeWhenAbsoluteAndElseStillAnAbsolutePath)
{
    const std::optional<std::string> saved = kx::platform::environmentVariable("HOME");
    ::setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(kx::platform::homeFolder(), "/home/ann");
    for (const char* unusable : {"", "relative/home"}) {
        ::setenv("HOME", unusable, 1);
        EXPECT_TRUE(kx::platform::homeFolder().starts_with('/')) << '"' << unusable << '"';
    }
    ::unsetenv("HOME");
    EXPECT_TRUE(kx::platform::homeFolder().starts_with('/'));
    if (saved)
        ::setenv("HOME", saved->c_str(), 1);
}

}  // namespace
