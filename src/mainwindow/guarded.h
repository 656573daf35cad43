#pragma once
// Running handlers and their steps so that no failure escapes into the toolkit's event loop.
#include "mainwindow/window_services.h"

#include <functional>
#include <initializer_list>

namespace kx::mainwindow {

// Hands the failure being handled (inside a catch block) to `report` under `source`, with a
// code for its kind; true when the reporter lets the caller carry on.
bool reportCurrentFailure(const ErrorReporter& report, const std::string& source);

// Runs `handler`; a failure that escapes it goes to `report` and ends the handler.
void runReporting(const ErrorReporter& report, const std::string& source, const std::function<void()>& handler);

enum class AfterFailure {
    AskReporter,      // report, then go on only when the reporter says so
    AlwaysCarryOn,    // report, then go on whatever the reporter says
    SkipSilently,     // report nothing and go on with the next step
};

// A step answers false to end the sequence normally (for example, the user cancelled).
using Step = std::function<bool()>;

// Runs `steps` in order; a failing step is handled as `after` says, its successors then run
// as if it had answered true.
void runSteps(const ErrorReporter& report, const std::string& source, std::initializer_list<Step> steps,
              AfterFailure after);

}  // namespace kx::mainwindow
