#pragma once
// Running a batch's conversions side by side, each in a copy of this process, and stopping
// cleanly when asked: a first SIGINT or SIGTERM lets the running conversions finish and starts
// no more, a second ends them at once and removes what they had begun to write.
#include <functional>
#include <vector>

#include "cli/job_list.h"
#include "cli/progress.h"
#include "cli/results.h"

namespace kx::cli {

struct RunSettings {
    int parallel = 1;
    bool skipExisting = false;
    // Runs in the copy of this process; the copy has no threads but its own.
    std::function<ConversionReport(const Job&)> convert;
    // Called in this process for every job that finished, skipped ones included.
    std::function<void(const JobRecord&)> finished;
    // Called once when a stop is first asked for, and once when running conversions are ended.
    std::function<void(std::size_t running, bool ending)> stopping;
};

// True when a stop request ended the run before every job had finished.
bool runJobs(const std::vector<Job>& jobs, const RunSettings& settings);

// Whether the target was written after the source last changed.
bool targetIsNewer(const Job& job);

// The report as the converting copy hands it back, and read again.
std::string encodeReport(const ConversionReport& report);
ConversionReport decodeReport(const std::string& text);

}  // namespace kx::cli
