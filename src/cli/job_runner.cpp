#include "cli/job_runner.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>

#include "platform/file_replace.h"
#include "platform/filesystem.h"
#include "platform/forked_job.h"
#include "platform/stop_requests.h"

namespace fs = std::filesystem;

namespace kx::cli {
namespace {

using Clock = std::chrono::steady_clock;

struct RunningJob {
    Job job;
    platform::ForkedJob process;
    Clock::time_point start;
};

JobRecord failedRecord(const Job& job, std::string message)
{
    return {.job = job, .status = JobStatus::Failed, .report = {.message = std::move(message)}};
}

class Runner {
public:
    Runner(const std::vector<Job>& jobs, const RunSettings& settings) : jobs_(jobs), settings_(settings) {}

    bool run()
    {
        while (true) {
            answerStopRequests();
            if (platform::stopRequestCount() == 0)
                startJobs();
            if (running_.empty())
                return platform::stopRequestCount() > 0 && (next_ < jobs_.size() || ended_);
            if (const auto end = platform::waitForForkedJob([this](int id) { return pipeOf(id); }))
                collect(*end);
        }
    }

private:
    void startJobs()
    {
        while (running_.size() < static_cast<std::size_t>(settings_.parallel) && next_ < jobs_.size()) {
            const Job& job = jobs_[next_++];
            if (settings_.skipExisting && targetIsNewer(job)) {
                settings_.finished({.job = job, .status = JobStatus::Skipped});
                continue;
            }
            const std::string folder = fs::path(job.target).parent_path().string();
            if (!folder.empty() && !platform::ensureFolder(folder)) {
                settings_.finished(failedRecord(job, "cannot create the folder " + folder));
                continue;
            }
            const auto process = platform::startForkedJob([&] { return encodeReport(settings_.convert(job)); });
            if (!process) {
                settings_.finished(failedRecord(job, "cannot start a process for the conversion"));
                continue;
            }
            running_[process->processId] = {job, *process, Clock::now()};
        }
    }

    int pipeOf(int processId) const
    {
        const auto found = running_.find(processId);
        return found == running_.end() ? -1 : found->second.process.reportPipe;
    }

    void collect(const platform::ForkedJobEnd& end)
    {
        const auto found = running_.find(end.processId);
        if (found == running_.end())
            return;
        const RunningJob running = found->second;
        running_.erase(found);
        if (!end.finished) {
            // Whatever a conversion ended midway began to write beside its target goes with it.
            platform::removeStagingFilesOf(running.job.target, end.processId);
            if (ended_)
                return;
        }
        JobRecord record = end.finished ? JobRecord{.job = running.job, .report = decodeReport(end.report)}
                                        : failedRecord(running.job, end.cause);
        if (end.finished)
            record.status = record.report.converted ? JobStatus::Converted : JobStatus::Failed;
        record.seconds = std::chrono::duration<double>(Clock::now() - running.start).count();
        record.peakMemoryKb = end.peakMemoryKb;
        settings_.finished(record);
    }

    void answerStopRequests()
    {
        const int requests = platform::stopRequestCount();
        if (requests >= 1 && !announced_) {
            announced_ = true;
            settings_.stopping(running_.size(), false);
        }
        if (requests >= 2 && !ended_) {
            ended_ = true;
            settings_.stopping(running_.size(), true);
            for (const auto& [id, running] : running_)
                platform::endForkedJob(running.process);
        }
    }

    const std::vector<Job>& jobs_;
    const RunSettings& settings_;
    std::size_t next_ = 0;
    std::map<int, RunningJob> running_;
    bool announced_ = false;
    bool ended_ = false;
    std::error_code ignored_;
};

// Short enough for the pipe to take it whole before anyone reads it.
std::string oneLine(std::string text)
{
    constexpr std::size_t kLongestMessage = 2000;
    if (text.size() > kLongestMessage)
        text.resize(kLongestMessage);
    for (char& c : text) {
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    }
    return text;
}

std::string warningLines(const std::vector<std::string>& warnings)
{
    std::string lines;
    for (const std::string& warning : warnings)
        lines += '\n' + oneLine(warning);
    return lines;
}

}  // namespace

bool runJobs(const std::vector<Job>& jobs, const RunSettings& settings)
{
    return Runner(jobs, settings).run();
}

bool targetIsNewer(const Job& job)
{
    std::error_code error;
    const auto target = fs::last_write_time(job.target, error);
    if (error)
        return false;
    const auto source = fs::last_write_time(job.source, error);
    return !error && target > source;
}

std::string encodeReport(const ConversionReport& report)
{
    return std::string(report.converted ? "1" : "0") + '\t'
        + (report.errorNumber ? std::to_string(*report.errorNumber) : std::string()) + '\t'
        + std::to_string(report.pages) + '\t' + oneLine(report.message) + warningLines(report.warnings);
}

ConversionReport decodeReport(const std::string& text)
{
    ConversionReport report;
    std::istringstream fields(text);
    std::string converted, number, pages;
    std::getline(fields, converted, '\t');
    std::getline(fields, number, '\t');
    std::getline(fields, pages, '\t');
    std::getline(fields, report.message);
    for (std::string warning; std::getline(fields, warning);)
        report.warnings.push_back(warning);
    report.converted = converted == "1";
    if (!number.empty())
        report.errorNumber = std::stoi(number);
    report.pages = pages.empty() ? 0 : std::stoi(pages);
    return report;
}

}  // namespace kx::cli
