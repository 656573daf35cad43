// korvendal-xl-convert: workbooks to PDFs, through the same conversion as the desktop program.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/help.h"
#include "cli/single_job.h"
#include "cli/terminal_ui.h"
#include "platform/process_memory.h"
#include "platform/program_end.h"

namespace {

using namespace kx;

int fail(const std::string& reason, int exitStatus)
{
    std::cerr << "korvendal-xl-convert: " << reason << std::endl;
    return exitStatus;
}

int convertOne(const cli::Arguments& arguments)
{
    // First, so that the engine's fonts load while the rest is set up and the workbook is read.
    conversion::EngineApplicationFactory engine(conversion::EngineApplicationFactory::Fonts::EngineOnly);
    if (arguments.verbose)
        engine.reportLoadWarningsTo([](const std::string& line) { std::cerr << "korvendal-xl-convert: warning: " << line << '\n'; });
    cli::TerminalUserInterface terminal(std::cout);
    platform::installUserInterface(&terminal);
    // A conversion that must end the program comes back here instead, to say why and tidy up.
    platform::installProgramEndHandler([](int) {});
    const cli::ConversionReport report = cli::convertWorkbook(engine, arguments.options, arguments.source, arguments.target,
                                                                  arguments.ghostscriptTimeout);
    platform::installUserInterface(nullptr);
    return report.converted ? cli::kExitConverted : fail(report.message, cli::kExitFailed);
}

}  // namespace

int main(int argc, char** argv)
{
    // Output into a pipe nobody reads any more (`... | head -1`) must not end a conversion.
    std::signal(SIGPIPE, SIG_IGN);
    platform::keepFreedMemoryForReuse();
    cli::Arguments arguments;
    try {
        arguments = cli::parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const conversion::UsageError& error) {
        return fail(std::string(error.what()) + " (see --help)", cli::kExitUsage);
    }
    if (arguments.helpWanted) {
        std::cout << cli::helpText();
        return 0;
    }
    if (arguments.versionWanted) {
        std::cout << cli::versionText();
        return 0;
    }
    if (arguments.batch)
        return cli::runBatch(arguments.options, *arguments.batch, arguments.ghostscriptTimeout);
    return convertOne(arguments);
}
