#pragma once
// What people watching a batch see on standard error: on a terminal one line that keeps
// changing (done/total, failures, rate, time left), elsewhere one plain line per workbook.
#include <memory>
#include <ostream>

#include "cli/results.h"

namespace kx::cli {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void begin(std::size_t total) = 0;
    virtual void finished(const JobRecord& record) = 0;
    // A stop was asked for while `running` conversions were still under way.
    virtual void stopping(std::size_t running, bool ending) = 0;
    virtual void end() = 0;
};

enum class ProgressStyle { Quiet, Terminal, Lines };

std::unique_ptr<Progress> makeProgress(ProgressStyle style, std::ostream& out);

}  // namespace kx::cli
