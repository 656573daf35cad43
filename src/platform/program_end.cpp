#include "platform/program_end.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kx::platform {
namespace {

ProgramEndHandler& installedHandler()
{
    static ProgramEndHandler handler;
    return handler;
}

}  // namespace

void endProgram(int exitCode)
{
    if (const auto& handler = installedHandler()) {
        handler(exitCode);
        return;
    }
    // No destructors run: the toolkit's objects may be in any state when this is called.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

ProgramEndHandler installProgramEndHandler(ProgramEndHandler handler)
{
    return std::exchange(installedHandler(), std::move(handler));
}

}  // namespace kx::platform
