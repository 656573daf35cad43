// Working folders kept between runs: one holder at a time, emptied when let go, and never
// taken from a place that is not this user's alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/held_folder.h"
#include "support/temp_folder.h"

using kx::platform::HeldFolder;
namespace fs = std::filesystem;

namespace {

// Points the temporary folder at a fresh test folder while it lives.
class TemporaryFolderHere {
public:
    TemporaryFolderHere()
    {
        const char* previous = std::getenv("TMPDIR");
        if (previous)
            previous_ = previous;
        ::setenv("TMPDIR", folder_.path().c_str(), 1);
    }
    ~TemporaryFolderHere()
    {
        if (previous_)
            ::setenv("TMPDIR", previous_->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    std::string base() const { return folder_.file("kx-held-" + std::to_string(::geteuid())); }

private:
    kx::testing::TempFolder folder_;
    std::optional<std::string> previous_;
};

TEST(HeldFolder, EachHolderHasAFolderOfItsOwnThatIsEmptiedAndKeptForTheNext)
{
    TemporaryFolderHere temporary;
    std::string first;
    {
        auto one = HeldFolder::take("kx-held");
        auto two = HeldFolder::take("kx-held");
        ASSERT_TRUE(one && two);
        EXPECT_NE(one->path(), two->path());
        EXPECT_EQ(fs::status(temporary.base()).permissions() & fs::perms::all, fs::perms::owner_all);
        first = one->path();
        std::ofstream(first + "/PsFile.ps") << "print";
        fs::create_directory(first + "/left");
    }
    EXPECT_TRUE(fs::is_directory(first));
    EXPECT_TRUE(fs::is_empty(first));
    auto again = HeldFolder::take("kx-held");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->path(), first);
}

TEST(HeldFolder, WhatAKilledHolderLeftIsRemovedWhenTheFolderIsTakenAgain)
{
    TemporaryFolderHere temporary;
    fs::create_directory(temporary.base());
    fs::permissions(temporary.base(), fs::perms::owner_all);
    fs::create_directory(temporary.base() + "/1");
    fs::permissions(temporary.base() + "/1", fs::perms::owner_all);
    std::ofstream(temporary.base() + "/1/PsFile.ps.partial-abc123") << "cut short";
    auto held = HeldFolder::take("kx-held");
    ASSERT_TRUE(held);
    EXPECT_EQ(held->path(), temporary.base() + "/1");
    EXPECT_TRUE(fs::is_empty(held->path()));
}

TEST(HeldFolder, APlaceOthersCanEnterOrALinkIsNotUsed)
{
    {
        TemporaryFolderHere temporary;
        fs::create_directory(temporary.base());
        fs::permissions(temporary.base(), fs::perms::all);
        EXPECT_FALSE(HeldFolder::take("kx-held"));
    }
    {
        TemporaryFolderHere temporary;
        kx::testing::TempFolder elsewhere;
        fs::permissions(elsewhere.path(), fs::perms::owner_all);
        fs::create_directory_symlink(elsewhere.path(), temporary.base());
        EXPECT_FALSE(HeldFolder::take("kx-held"));
        EXPECT_TRUE(fs::is_empty(elsewhere.path()));
    }
}

}  // namespace
