#include "platform/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kx::platform {
namespace {

bool writeAll(int descriptor, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(descriptor, content.data(), content.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Follows symbolic links so that replacing the file keeps the link itself.
std::string resolvedTarget(const std::string& path)
{
    std::error_code error;
    if (!fs::is_symlink(path, error))
        return path;
    const fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target.string();
}

mode_t permissionsFor(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0)
        return status.st_mode & 07777;
    return 0644;
}

void syncFolderOf(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    const int folder = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

bool copyAll(int from, int to)
{
    char buffer[1 << 16];
    while (true) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        if (!writeAll(to, std::string_view(buffer, static_cast<std::size_t>(got))))
            return false;
    }
}

// The start of the names of the staging files that process `processId` makes beside `target`.
std::string stagingPrefixOf(const fs::path& target, int processId)
{
    return "." + target.filename().string() + "." + std::to_string(processId) + ".";
}

// A new file of an unguessable name beside `target`, created by this call (O_EXCL, no link
// followed), with the permissions of a new file; -1 when none can be made.
int createStagingFile(const fs::path& target, std::string& stagingPath)
{
    constexpr int kAttempts = 32;
    std::random_device random;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%08x%08x", random(), random());
        stagingPath = (target.parent_path() / (stagingPrefixOf(target, ::getpid()) + suffix + ".part")).string();
        const int descriptor = ::open(stagingPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

// The permission bits of an ordinary file at `path` itself (a link is not followed).
std::optional<mode_t> ownPermissions(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        return status.st_mode & 07777;
    return std::nullopt;
}

// Closes the staging file and, when it was written whole, renames it over `target`; otherwise
// removes it.
bool putInPlace(int descriptor, bool written, const std::string& staging, const std::string& target)
{
    const bool closed = ::close(descriptor) == 0;
    if (!written || !closed || ::rename(staging.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(staging.c_str());
        errno = error;
        return false;
    }
    syncFolderOf(target);
    return true;
}

}  // namespace

bool replaceFileContent(const std::string& path, std::string_view content)
{
    const std::string target = resolvedTarget(path);
    std::string temporary = target + ".new-XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return false;
    const bool written = writeAll(descriptor, content)
        && ::fchmod(descriptor, permissionsFor(target)) == 0
        && ::fsync(descriptor) == 0;
    return putInPlace(descriptor, written, temporary, target);
}

bool replaceFileWithCopy(const std::string& from, const std::string& to)
{
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return false;
    struct stat sourceStatus {};
    std::string staging;
    const int descriptor = ::fstat(source, &sourceStatus) == 0 && S_ISREG(sourceStatus.st_mode)
        ? createStagingFile(fs::path(to), staging)
        : -1;
    if (descriptor < 0) {
        ::close(source);
        return false;
    }
    const std::optional<mode_t> keptPermissions = ownPermissions(to);
    const bool written = copyAll(source, descriptor)
        && (!keptPermissions || ::fchmod(descriptor, *keptPermissions) == 0)
        && ::fsync(descriptor) == 0;
    ::close(source);
    return putInPlace(descriptor, written, staging, to);
}

void removeStagingFilesOf(const std::string& target, int processId)
{
    const fs::path targetPath(target);
    const std::string prefix = stagingPrefixOf(targetPath, processId);
    std::error_code ignored;
    const fs::path folder = targetPath.parent_path().empty() ? fs::path(".") : targetPath.parent_path();
    for (fs::directory_iterator entry(folder, ignored), end; !ignored && entry != end; entry.increment(ignored)) {
        const std::string name = entry->path().filename().string();
        if (name.starts_with(prefix) && name.ends_with(".part"))
            fs::remove(entry->path(), ignored);
    }
}

}  // namespace kx::platform
