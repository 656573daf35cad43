#pragma once
// A scripted stand-in for the spreadsheet application: it records every call in one log shared
// by all the applications its factory creates, fails where a test tells it to, and "prints" a
// small PostScript file of the requested number of pages.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "conversion/automation.h"

namespace kx::conversion::fakes {

struct FakeScript {
    int creationFailures = 0;                      // how many creations fail with 429 first
    std::optional<automation::Failure> openFailure;
    std::optional<automation::Failure> printFailure;
    std::string initialPrinter = "Office Laser";
    int printedPages = 1;                          // pages of the PostScript the print writes
    bool writePrintFile = true;
};

struct FakeLog {
    std::vector<std::string> calls;
    std::vector<automation::PrintOutArguments> printOuts;
    int applicationsCreated = 0;
    // Runs at every call, with the call's log line, so a test can look at the world then.
    std::function<void(const std::string&)> onCall;

    void record(const std::string& call);
    int count(const std::string& call) const;
};

class FakeApplicationFactory final : public automation::ApplicationFactory {
public:
    explicit FakeApplicationFactory(FakeScript script = {}) : script_(std::move(script)) {}
    std::unique_ptr<automation::Application> createApplication() override;

    FakeScript& script() { return script_; }
    FakeLog& log() { return log_; }

private:
    FakeScript script_;
    FakeLog log_;
};

// A PostScript document with `pages` pages, each showing "Page N".
std::string postScriptPages(int pages);

}  // namespace kx::conversion::fakes
