#include "platform/filesystem.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kx::platform {
namespace {

bool isHiddenName(const std::string& path)
{
    const std::string name = fileNameOf(path);
    return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

}  // namespace

bool ordinaryFileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && !isHiddenName(path) && fs::is_regular_file(path, error);
}

bool visibleEntryExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && !isHiddenName(path) && fs::exists(path, error);
}

bool folderExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

bool folderWritable(const std::string& path) { return ::access(path.c_str(), W_OK | X_OK) == 0; }

bool ensureFolder(const std::string& path)
{
    std::error_code error;
    fs::create_directories(path, error);
    return folderExists(path);
}

bool removeFile(const std::string& path)
{
    std::error_code error;
    fs::remove(path, error);
    return !fs::exists(fs::symlink_status(path, error));
}

bool copyFileOver(const std::string& from, const std::string& to)
{
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::overwrite_existing, error) && !error;
}

std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error || size > maxBytes)
        return std::nullopt;
    std::ifstream stream(path, std::ios::binary);
    std::string content(static_cast<std::size_t>(size), '\0');
    if (!stream.read(content.data(), static_cast<std::streamsize>(content.size())))
        return std::nullopt;
    return content;
}

std::string programFolder()
{
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return fs::current_path(error).string();
    return executable.parent_path().string();
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string fileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kx::platform
