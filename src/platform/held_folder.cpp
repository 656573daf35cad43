#include "platform/held_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace kx::platform {
namespace {

// More processes than this at once fall back to folders of their own.
constexpr int kMostHeldFolders = 64;

// Made if missing; used only when it is a real folder of this user that nobody else may enter.
bool ownPrivateFolder(const std::string& path)
{
    ::mkdir(path.c_str(), 0700);
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid()
        && (status.st_mode & 077) == 0;
}

// An exclusive lock on `path`, or -1 when another process holds it.
int lockFile(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return -1;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

void removeContents(const std::string& folder)
{
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        fs::remove_all(entry->path(), ignored);
    }
}

}  // namespace

std::optional<HeldFolder> HeldFolder::take(const std::string& prefix)
{
    std::error_code error;
    const fs::path temporary = fs::temp_directory_path(error);
    if (error)
        return std::nullopt;
    return takeIn((temporary / (prefix + "-" + std::to_string(::geteuid()))).string());
}

std::optional<HeldFolder> HeldFolder::takeIn(const std::string& base)
{
    if (!ownPrivateFolder(base))
        return std::nullopt;
    for (int number = 1; number <= kMostHeldFolders; ++number) {
        const std::string folder = base + "/" + std::to_string(number);
        const int lock = lockFile(folder + ".lock");
        if (lock < 0)
            continue;
        if (ownPrivateFolder(folder)) {
            removeContents(folder);  // what a run that was killed left behind
            return HeldFolder(folder, lock);
        }
        ::close(lock);
    }
    return std::nullopt;
}

HeldFolder::HeldFolder(HeldFolder&& other) noexcept : path_(std::move(other.path_)), lock_(other.lock_)
{
    other.lock_ = -1;
}

HeldFolder::~HeldFolder()
{
    if (lock_ < 0)
        return;
    removeContents(path_);
    ::close(lock_);
}

}  // namespace kx::platform
