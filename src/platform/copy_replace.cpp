#include "platform/copy_replace.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kx::platform {

bool replaceFileWithCopy(const std::string& from, const std::string& to)
{
    std::error_code error;
    if (!fs::is_regular_file(from, error) || fs::is_directory(to, error))
        return false;
    const fs::path target(to);
    const fs::path staging = stagingFileFor(to, ::getpid());
    if (!fs::copy_file(from, staging, fs::copy_options::overwrite_existing, error) || error) {
        fs::remove(staging, error);
        return false;
    }
    fs::rename(staging, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(staging, ignored);
        return false;
    }
    return true;
}

std::string stagingFileFor(const std::string& to, int processId)
{
    const fs::path target(to);
    return (target.parent_path() / ("." + target.filename().string() + "." + std::to_string(processId) + ".part")).string();
}

}  // namespace kx::platform
