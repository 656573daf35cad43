#pragma once
// What a batch did with each workbook, and that record as one line of JSON for programs.
#include <string>

#include "cli/job_list.h"
#include "cli/single_job.h"

namespace kx::cli {

enum class JobStatus { Converted, Failed, Skipped };

struct JobRecord {
    Job job;
    JobStatus status = JobStatus::Failed;
    ConversionReport report;
    double seconds = 0;
    long peakMemoryKb = 0;  // of the process that converted it, Ghostscript included
};

// One JSON object without a line end: source, target, status, pages, seconds, error (a number
// or null), message, warnings (the load warnings) and peak_memory_kb.
std::string resultLine(const JobRecord& record);

const char* statusName(JobStatus status);

}  // namespace kx::cli
