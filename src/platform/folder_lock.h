#pragma once
// An exclusive advisory lock on a folder, held by this process until the object goes away,
// so that two running programs never work in the same folder at once.
#include <string>

namespace kx::platform {

class FolderLock {
public:
    // Tries once, without waiting; held() tells whether the lock was obtained.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return descriptor_ >= 0; }
    // Tries once more when the lock is not held yet; answers held().
    bool tryAgain();
    // True while a FolderLock of this process holds `folder` (named as it was given).
    static bool heldHere(const std::string& folder);

private:
    std::string folder_;
    int descriptor_ = -1;
};

}  // namespace kx::platform
