#include "cli/job_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace kx::cli {
namespace {

using conversion::UsageError;

bool isWorkbookFile(const fs::directory_entry& entry)
{
    std::error_code error;
    const std::string name = entry.path().filename().string();
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    return name[0] != '.' && extension == ".xls" && entry.is_regular_file(error);
}

std::string pdfNameFor(const fs::path& relative)
{
    return fs::path(relative).replace_extension(".pdf").string();
}

void addFolder(const fs::path& folder, const fs::path& outputFolder, bool recursive, std::vector<Job>& jobs)
{
    std::error_code error;
    const auto add = [&](const fs::directory_entry& entry) {
        if (isWorkbookFile(entry))
            jobs.push_back({entry.path().string(), (outputFolder / pdfNameFor(entry.path().lexically_relative(folder))).string()});
    };
    if (recursive) {
        auto options = fs::directory_options::skip_permission_denied;
        for (fs::recursive_directory_iterator entry(folder, options, error), end; !error && entry != end; entry.increment(error)) {
            if (entry->path().filename().string()[0] == '.' && entry->is_directory(error))
                entry.disable_recursion_pending();
            else
                add(*entry);
        }
    } else {
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
            add(*entry);
    }
}

}  // namespace

std::vector<Job> jobsFromSources(const std::vector<std::string>& sources, const std::string& outputFolder, bool recursive)
{
    std::vector<Job> jobs;
    for (const std::string& source : sources) {
        std::error_code error;
        if (fs::is_directory(source, error))
            addFolder(source, outputFolder, recursive, jobs);
        else
            jobs.push_back({source, (fs::path(outputFolder) / pdfNameFor(fs::path(source).filename())).string()});
    }
    return jobs;
}

std::vector<Job> jobsFromManifest(std::istream& manifest)
{
    std::vector<Job> jobs;
    std::string line;
    for (int number = 1; std::getline(manifest, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const auto tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab + 1 == line.size())
            throw UsageError("manifest line " + std::to_string(number) + " is not SOURCE<TAB>TARGET");
        jobs.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return jobs;
}

std::vector<Job> sortedJobs(std::vector<Job> jobs)
{
    std::sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) {
        return a.source != b.source ? a.source < b.source : a.target < b.target;
    });
    std::set<std::string> targets;
    for (const Job& job : jobs) {
        if (!targets.insert(fs::path(job.target).lexically_normal().string()).second)
            throw UsageError("two sources would be converted to " + job.target);
    }
    return jobs;
}

std::vector<Job> shareOf(const std::vector<Job>& jobs, const Shard& shard)
{
    const auto boundary = [&](int index) {
        return jobs.begin() + static_cast<std::ptrdiff_t>(jobs.size() * static_cast<std::size_t>(index) / static_cast<std::size_t>(shard.count));
    };
    return {boundary(shard.index - 1), boundary(shard.index)};
}

}  // namespace kx::cli
