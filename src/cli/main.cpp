// korvendal-xl-convert: one workbook to one PDF, through the same conversion as the desktop program.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "conversion/command_line.h"
#include "conversion/driver.h"
#include "conversion/engine_automation.h"
#include "platform/filesystem.h"
#include "platform/held_folder.h"
#include "platform/private_folder.h"
#include "platform/process_memory.h"
#include "platform/program_end.h"
#include "terminal_ui.h"

namespace {

using namespace kx;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The one row of this run's job list; its status decides the exit status.
class SingleJobRow final : public conversion::JobRows {
public:
    explicit SingleJobRow(std::string fileName) : fileName_(std::move(fileName)) {}
    void setStatus(std::int16_t, const std::string& status) override { status_ = status; }
    std::string fileName(std::int16_t) const override { return fileName_; }
    const std::string& status() const { return status_; }

private:
    std::string fileName_;
    std::string status_ = conversion::kStatusConverting;
};

int fail(const std::string& reason, int exitStatus = kExitFailed)
{
    std::cerr << "korvendal-xl-convert: " << reason << std::endl;
    return exitStatus;
}

int convert(conversion::EngineApplicationFactory& engine, const conversion::CommandLineRequest& request,
            const std::string& workspace)
{
    conversion::FixedOptions options(request.options);
    SingleJobRow row(platform::fileNameOf(request.source));
    conversion::ConversionDriver driver(engine, options, row, workspace,
                                        conversion::installedJobServices(request.ghostscriptTimeout));
    try {
        const conversion::JobResult result = driver.ConvertWorkbook(request.source, request.target, 1, 1);
        if (result.outcome == conversion::JobOutcome::Completed && row.status() == conversion::kStatusCompleted)
            return 0;
        return fail(result.reason.empty() ? conversion::kFailedToCreatePdfMessage : result.reason);
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}

// In a folder of its own, so that several conversions can run side by side: one kept from run
// to run when possible, else one made for this run alone.
int convertInWorkspace(conversion::EngineApplicationFactory& engine, const conversion::CommandLineRequest& request)
{
    constexpr const char* name = "korvendal-xl-convert";
    if (const auto held = platform::HeldFolder::take(name))
        return convert(engine, request, held->path());
    const auto workspace = platform::createPrivateFolder(name);
    if (!workspace)
        return fail("cannot create a working folder in the temporary folder");
    const int status = convert(engine, request, *workspace);
    platform::removeFolderTree(*workspace);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    // Output into a pipe nobody reads any more (`... | head -1`) must not end a conversion.
    std::signal(SIGPIPE, SIG_IGN);
    platform::keepFreedMemoryForReuse();
    conversion::CommandLineRequest request;
    try {
        request = conversion::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const conversion::UsageError& error) {
        return fail(std::string(error.what()) + " (see --help)", kExitUsage);
    }
    if (request.helpWanted) {
        std::cout << conversion::commandLineHelp();
        return 0;
    }

    // First, so that the engine's fonts load while the rest is set up and the workbook is read.
    conversion::EngineApplicationFactory engine(conversion::EngineApplicationFactory::Fonts::EngineOnly);
    cli::TerminalUserInterface terminal(std::cout);
    platform::installUserInterface(&terminal);
    // A conversion that must end the program comes back here instead, to say why and tidy up.
    platform::installProgramEndHandler([](int) {});
    const int status = convertInWorkspace(engine, request);
    platform::installUserInterface(nullptr);
    return status;
}
