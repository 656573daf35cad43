#pragma once
// A working folder that one process at a time holds, kept between runs in this user's own
// folder under the system's folder for temporary files. Making and removing a folder for each
// run costs milliseconds on disks that discard freed blocks at once; a kept folder costs nothing.
#include <optional>
#include <string>

namespace kx::platform {

class HeldFolder {
public:
    // A folder that no other process holds, under "<temporary folder>/<prefix>-<user id>",
    // made on first use. Nothing when that folder is not this user's alone (another owner, a
    // symbolic link, open to others) or every one of its folders is held.
    static std::optional<HeldFolder> take(const std::string& prefix);
    // The same under `base` itself, made if missing (its parent must exist).
    static std::optional<HeldFolder> takeIn(const std::string& base);

    HeldFolder(HeldFolder&& other) noexcept;
    HeldFolder& operator=(HeldFolder&&) = delete;
    HeldFolder(const HeldFolder&) = delete;
    // Empties the folder, then lets another process take it.
    ~HeldFolder();

    const std::string& path() const { return path_; }

private:
    HeldFolder(std::string path, int lock) : path_(std::move(path)), lock_(lock) {}

    std::string path_;
    int lock_ = -1;  // held on a file beside the folder, so the folder itself stays free to lock
};

}  // namespace kx::platform
