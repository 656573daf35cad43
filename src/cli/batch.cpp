#include "cli/batch.h"

#include <fstream>
#include <iostream>

#include "cli/job_list.h"
#include "cli/job_runner.h"
#include "cli/progress.h"
#include "cli/terminal_ui.h"
#include "conversion/engine_automation.h"
#include "platform/machine.h"
#include "platform/program_end.h"
#include "platform/stop_requests.h"

namespace kx::cli {
namespace {

int usageFailure(const std::string& reason)
{
    std::cerr << "korvendal-xl-convert: " << reason << " (see --help)" << std::endl;
    return kExitUsage;
}

std::vector<Job> gatherJobs(const BatchOptions& batch)
{
    if (!batch.manifest)
        return jobsFromSources(batch.sources, batch.outputFolder, batch.recursive);
    if (*batch.manifest == "-")
        return jobsFromManifest(std::cin);
    std::ifstream manifest(*batch.manifest);
    if (!manifest)
        throw conversion::UsageError("cannot read the manifest " + *batch.manifest);
    return jobsFromManifest(manifest);
}

ProgressStyle progressStyle(const BatchOptions& batch)
{
    if (batch.quiet)
        return ProgressStyle::Quiet;
    return platform::standardErrorIsTerminal() ? ProgressStyle::Terminal : ProgressStyle::Lines;
}

}  // namespace

int runBatch(const conversion::OptionValues& options, const BatchOptions& batch,
             std::chrono::milliseconds ghostscriptTimeout)
{
    std::vector<Job> jobs;
    try {
        jobs = shareOf(sortedJobs(gatherJobs(batch)), batch.shard);
    } catch (const conversion::UsageError& error) {
        return usageFailure(error.what());
    }
    std::ofstream results;
    if (batch.resultsFile) {
        results.open(*batch.resultsFile, std::ios::trunc);
        if (!results)
            return usageFailure("cannot write the results file " + *batch.resultsFile);
    }

    conversion::EngineApplicationFactory engine(conversion::EngineApplicationFactory::Fonts::EngineOnly);
    // Loaded once here, and shared by every conversion's copy of this process.
    engine.waitForFonts();
    // Each conversion runs in a copy of this process, which collects only its own workbook's.
    std::vector<std::string> warnings;
    engine.reportLoadWarningsTo([&warnings](const std::string& line) { warnings.push_back(line); });
    std::ostream discarded(nullptr);  // each conversion's own messages: the results say it all
    TerminalUserInterface silent(discarded);
    platform::installUserInterface(&silent);
    platform::installProgramEndHandler([](int) {});
    platform::countStopRequests();

    const auto progress = makeProgress(progressStyle(batch), std::cerr);
    progress->begin(jobs.size());
    bool anyFailed = false;
    const RunSettings settings{
        .parallel = batch.jobs > 0 ? batch.jobs : platform::processorCount(),
        .skipExisting = batch.skipExisting,
        .convert =
            [&](const Job& job) {
                ConversionReport report = convertWorkbook(engine, options, job.source, job.target, ghostscriptTimeout);
                report.warnings = std::move(warnings);
                return report;
            },
        .finished =
            [&](const JobRecord& record) {
                if (results.is_open())
                    results << resultLine(record) << std::endl;
                anyFailed = anyFailed || record.status == JobStatus::Failed;
                progress->finished(record);
            },
        .stopping = [&](std::size_t running, bool ending) { progress->stopping(running, ending); },
    };
    const bool stopped = runJobs(jobs, settings);
    progress->end();
    platform::installUserInterface(nullptr);
    if (stopped)
        return kExitSignalBase + platform::firstStopSignal().value_or(0);
    return anyFailed ? kExitFailed : kExitConverted;
}

}  // namespace kx::cli
