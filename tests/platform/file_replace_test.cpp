#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_replace.h"
#include "support/temp_folder.h"

using kx::platform::replaceFileWithCopy;
namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

mode_t permissionsOf(const std::string& path)
{
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0);
    return status.st_mode & 07777;
}

}  // namespace

// Another user who can write to the target's folder plants links where the copy might write.
TEST(ReplaceFileWithCopy, PlantedLinksAreNeverWrittenThrough)
{
    const kx::testing::TempFolder folder;
    const std::string source = folder.write("PdfFile.pdf", "%PDF new");
    const std::string victim = folder.write("victim", "precious");
    const std::string target = folder.file("out.pdf");
    fs::create_symlink(victim, folder.file(".out.pdf." + std::to_string(::getpid()) + ".part"));
    fs::create_symlink(victim, target);

    ASSERT_TRUE(replaceFileWithCopy(source, target));

    EXPECT_EQ(folder.read("victim"), "precious");
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(folder.read("out.pdf"), "%PDF new");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string> { "PdfFile.pdf", "victim", "out.pdf",
                                          ".out.pdf." + std::to_string(::getpid()) + ".part" }));
}

TEST(ReplaceFileWithCopy, KeepsTheTargetsPermissionsAndLeavesNothingBehindOnFailure)
{
    const kx::testing::TempFolder folder;
    const std::string source = folder.write("PdfFile.pdf", "%PDF new");
    ::chmod(source.c_str(), 0644);
    const std::string target = folder.write("out.pdf", "old");
    ::chmod(target.c_str(), 0600);

    ASSERT_TRUE(replaceFileWithCopy(source, target));
    EXPECT_EQ(permissionsOf(target), 0600u);
    EXPECT_EQ(folder.read("out.pdf"), "%PDF new");

    fs::create_directory(folder.file("a folder.pdf"));
    EXPECT_FALSE(replaceFileWithCopy(source, folder.file("a folder.pdf")));
    EXPECT_FALSE(replaceFileWithCopy(folder.file("missing"), target));
    EXPECT_EQ(folder.read("out.pdf"), "%PDF new");
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string> { "PdfFile.pdf", "out.pdf", "a folder.pdf" }));
}
