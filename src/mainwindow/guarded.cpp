#include "mainwindow/guarded.h"

#include "errors/failure.h"

#include <exception>

namespace kx::mainwindow {

bool reportCurrentFailure(const ErrorReporter& report, const std::string& source)
{
    try {
        const errors::ErrorInfo failure = errors::describeStandardFailure(std::current_exception());
        return report ? report(failure.number, failure.description, source) : true;
    } catch (...) {
        return false;
    }
}

void runReporting(const ErrorReporter& report, const std::string& source, const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        reportCurrentFailure(report, source);
    }
}

void runSteps(const ErrorReporter& report, const std::string& source, std::initializer_list<Step> steps,
              AfterFailure after)
{
    for (const Step& step : steps) {
        try {
            if (!step())
                return;
        } catch (...) {
            if (after == AfterFailure::SkipSilently)
                continue;
            const bool carryOn = reportCurrentFailure(report, source);
            if (after == AfterFailure::AskReporter && !carryOn)
                return;
        }
    }
}

}  // namespace kx::mainwindow
