#pragma once
// Ending the whole program at once, from wherever a fatal condition is found.
#include <functional>

namespace kx::platform {

using ProgramEndHandler = std::function<void(int exitCode)>;

// Ends the program immediately with `exitCode`: no further work runs and nothing is cleaned up.
// When a handler is installed (tests), it is called instead and this returns; the caller must
// then stop what it was doing.
void endProgram(int exitCode);

// Installs `handler` and returns the previous one; an empty handler restores the immediate end.
ProgramEndHandler installProgramEndHandler(ProgramEndHandler handler);

}  // namespace kx::platform
