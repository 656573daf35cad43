#pragma once
// The workbooks of a batch: gathered from files and folders or read from a manifest, sorted,
// checked for targets that two sources would share, and cut into shares for many machines.
#include <istream>
#include <string>
#include <vector>

#include "cli/arguments.h"

namespace kx::cli {

struct Job {
    std::string source;
    std::string target;
    bool operator==(const Job&) const = default;
};

// Each source file to DIR/<name>.pdf; a folder's .xls files likewise, and with `recursive` the
// files of its subfolders, keeping their folders under DIR. Hidden files are left out.
std::vector<Job> jobsFromSources(const std::vector<std::string>& sources, const std::string& outputFolder,
                                 bool recursive);

// Lines of "source<TAB>target"; empty lines are skipped. Throws conversion::UsageError naming
// the line that has no tab or an empty side.
std::vector<Job> jobsFromManifest(std::istream& manifest);

// Sorted by source, and checked that no two jobs write one target (throws conversion::UsageError).
std::vector<Job> sortedJobs(std::vector<Job> jobs);

// The `shard.index`-th of `shard.count` consecutive, equal (to one job) shares of `jobs`.
std::vector<Job> shareOf(const std::vector<Job>& jobs, const Shard& shard);

}  // namespace kx::cli
