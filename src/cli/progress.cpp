#include "cli/progress.h"

#include <chrono>
#include <cstdio>

namespace kx::cli {
namespace {

using Clock = std::chrono::steady_clock;

std::string outcomeLine(const JobRecord& record)
{
    const Job& job = record.job;
    switch (record.status) {
    case JobStatus::Converted: {
        char figures[64];
        std::snprintf(figures, sizeof figures, " (%d pages, %.2f s)", record.report.pages, record.seconds);
        return "converted " + job.source + " -> " + job.target + figures;
    }
    case JobStatus::Skipped: return "skipped " + job.source + " (" + job.target + " is newer)";
    case JobStatus::Failed: break;
    }
    return "failed " + job.source + ": " + record.report.message;
}

// Counts and the clock that both visible styles report from.
class Tally : public Progress {
public:
    void begin(std::size_t total) override
    {
        total_ = total;
        start_ = Clock::now();
    }
    void finished(const JobRecord& record) override
    {
        ++done_;
        failed_ += record.status == JobStatus::Failed;
        skipped_ += record.status == JobStatus::Skipped;
        show(record);
    }

protected:
    virtual void show(const JobRecord& record) = 0;

    double elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }
    std::string summary() const
    {
        char text[160];
        std::snprintf(text, sizeof text, "%zu/%zu done, %zu failed, %zu skipped in %.1f s", done_, total_, failed_,
                      skipped_, elapsed());
        return text;
    }

    std::size_t total_ = 0, done_ = 0, failed_ = 0, skipped_ = 0;
    Clock::time_point start_ = Clock::now();
};

class TerminalProgress final : public Tally {
public:
    explicit TerminalProgress(std::ostream& out) : out_(out) {}
    void stopping(std::size_t running, bool ending) override
    {
        out_ << "\r\033[K" << (ending ? "ending " : "stopping: letting ") << running
             << (ending ? " running conversions\n" : " running conversions finish (Ctrl-C again ends them)\n");
        out_.flush();
    }
    void end() override { out_ << "\r\033[K" << summary() << std::endl; }

private:
    void show(const JobRecord& record) override
    {
        if (record.status == JobStatus::Failed)
            out_ << "\r\033[K" << outcomeLine(record) << '\n';
        const double seconds = elapsed();
        const double rate = seconds > 0 ? static_cast<double>(done_ - skipped_) / seconds : 0;
        const std::size_t left = total_ - done_;
        char line[160];
        if (rate > 0) {
            const long secondsLeft = static_cast<long>(static_cast<double>(left) / rate);
            std::snprintf(line, sizeof line, "[%zu/%zu] %zu failed, %.1f workbooks/s, %ld:%02ld left", done_, total_,
                          failed_, rate, secondsLeft / 60, secondsLeft % 60);
        } else {
            std::snprintf(line, sizeof line, "[%zu/%zu] %zu failed", done_, total_, failed_);
        }
        out_ << "\r\033[K" << line << std::flush;
    }

    std::ostream& out_;
};

class LineProgress final : public Tally {
public:
    explicit LineProgress(std::ostream& out) : out_(out) {}
    void stopping(std::size_t running, bool ending) override
    {
        out_ << (ending ? "ending " : "stopping after ") << running << " running conversions" << std::endl;
    }
    void end() override { out_ << summary() << std::endl; }

private:
    void show(const JobRecord& record) override { out_ << outcomeLine(record) << std::endl; }

    std::ostream& out_;
};

class QuietProgress final : public Progress {
public:
    void begin(std::size_t) override {}
    void finished(const JobRecord&) override {}
    void stopping(std::size_t, bool) override {}
    void end() override {}
};

}  // namespace

std::unique_ptr<Progress> makeProgress(ProgressStyle style, std::ostream& out)
{
    switch (style) {
    case ProgressStyle::Terminal: return std::make_unique<TerminalProgress>(out);
    case ProgressStyle::Lines: return std::make_unique<LineProgress>(out);
    case ProgressStyle::Quiet: break;
    }
    return std::make_unique<QuietProgress>();
}

}  // namespace kx::cli
