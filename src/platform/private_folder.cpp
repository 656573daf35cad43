#include "platform/private_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace kx::platform {

std::optional<std::string> createPrivateFolder(const std::string& prefix)
{
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error)
        return std::nullopt;
    std::string pattern = (base / (prefix + ".XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        return std::nullopt;
    return std::string(buffer.data());
}

bool removeFolderTree(const std::string& folder)
{
    std::error_code error;
    fs::remove_all(folder, error);
    return !error && !fs::exists(folder, error);
}

}  // namespace kx::platform
