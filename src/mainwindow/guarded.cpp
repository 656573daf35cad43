#include "mainwindow/guarded.h"

#include <exception>
#include <new>
#include <stdexcept>

namespace kx::mainwindow {
namespace {

// Run-time error numbers of the failures a handler can meet.
constexpr std::int32_t kOutOfMemory = 7;
constexpr std::int32_t kOverflow = 6;
constexpr std::int32_t kInvalidCall = 5;

}  // namespace

bool reportCurrentFailure(const ErrorReporter& report, const std::string& source)
{
    std::int32_t code = kInvalidCall;
    std::string description = "Unknown failure";
    try {
        throw;
    } catch (const std::bad_alloc&) {
        code = kOutOfMemory;
        description = "Out of memory";
    } catch (const std::overflow_error& failure) {
        code = kOverflow;
        description = failure.what();
    } catch (const std::exception& failure) {
        description = failure.what();
    } catch (...) {
    }
    try {
        return report ? report(code, description, source) : true;
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
