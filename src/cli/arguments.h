#pragma once
// The converter's arguments: the page set-up options with either one SOURCE and TARGET, or a
// batch of sources with the options that say where their PDFs go and how the batch runs.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "conversion/command_line.h"

namespace kx::cli {

// The K-th (1-based) of N equal shares of a sorted list.
struct Shard {
    int index = 1;
    int count = 1;
    bool operator==(const Shard&) const = default;
};

struct BatchOptions {
    std::vector<std::string> sources;   // files and folders
    std::string outputFolder;           // --output-dir
    std::optional<std::string> manifest;  // --manifest FILE, "-" for standard input
    bool recursive = false;
    int jobs = 0;                       // 0: one per processor
    std::optional<std::string> resultsFile;
    bool skipExisting = false;
    Shard shard;
    bool quiet = false;
};

struct Arguments {
    conversion::OptionValues options;
    bool helpWanted = false;
    bool versionWanted = false;
    bool verbose = false;  // say on standard error what reading the workbook left out
    std::chrono::milliseconds ghostscriptTimeout{};
    // Nothing for the form with one SOURCE and one TARGET.
    std::optional<BatchOptions> batch;
    std::string source, target;  // the form with one SOURCE and one TARGET
};

// `arguments` without the program name. Throws conversion::UsageError.
Arguments parseArguments(const std::vector<std::string>& arguments);

Shard shardOf(const std::string& text);

}  // namespace kx::cli
