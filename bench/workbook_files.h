#pragma once
// The workbooks named on a bench's command line.
#include <filesystem>
#include <vector>

namespace kx::bench {

// A folder stands for the .xls files in it (not in its sub-folders); anything else for itself.
inline void addWorkbooks(const std::filesystem::path& argument, std::vector<std::filesystem::path>& files)
{
    if (!std::filesystem::is_directory(argument)) {
        files.push_back(argument);
        return;
    }
    for (const auto& entry : std::filesystem::directory_iterator(argument))
        if (entry.path().extension() == ".xls")
            files.push_back(entry.path());
}

}  // namespace kx::bench
