#include "platform/folder_lock.h"

#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <unistd.h>

namespace kx::platform {
namespace {

std::multiset<std::string>& foldersHeldHere()
{
    static std::multiset<std::string> folders;
    return folders;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) : folder_(folder) { tryAgain(); }

bool FolderLock::tryAgain()
{
    if (held())
        return true;
    // Close-on-exec, so that a program started while the lock is held does not keep it alive.
    const int descriptor = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return false;
    }
    descriptor_ = descriptor;
    foldersHeldHere().insert(folder_);
    return true;
}

bool FolderLock::heldHere(const std::string& folder) { return foldersHeldHere().contains(folder); }

FolderLock::~FolderLock()
{
    if (descriptor_ < 0)
        return;
    ::close(descriptor_);
    foldersHeldHere().erase(foldersHeldHere().find(folder_));
}

}  // namespace kx::platform
