#pragma once
// Starting an external program from one command-line string, without a shell, and waiting for it.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::platform {

struct CommandLine {
    std::string program;  // the program file as resolved
    std::vector<std::string> arguments;
    bool operator==(const CommandLine&) const = default;
};

// Resolves a candidate program text to the executable it names, or nothing.
using ProgramResolver = std::function<std::optional<std::string>(const std::string& candidate)>;

// Splits a command line the way callers write it: a program in double quotes, or else the
// longest leading run of unquoted words, blanks included, that names an executable (so an
// unquoted path with blanks works); then the arguments, separated by blanks, where double
// quotes keep blanks inside one argument and are themselves removed. Backslashes are ordinary
// characters. Nothing when no leading run names an executable.
std::optional<CommandLine> splitCommandLine(std::string_view commandLine, const ProgramResolver& resolve);

// A path with "/" names an executable ordinary file; a bare name is looked up in PATH.
std::optional<std::string> resolveProgram(const std::string& candidate);

struct ProcessRequest {
    std::string commandLine;
    std::string workingFolder;  // empty: the caller's own
    std::optional<std::chrono::milliseconds> waitLimit;  // nothing: wait until the program ends
    bool higherPriority = false;  // asked for where the system allows it, otherwise ignored
    // At the wait limit: false leaves the program running (it is reaped when it ends), true
    // ends its whole process group and reaps it.
    bool endAtLimit = false;
};

enum class ProcessEnd { NotStarted, Exited, Signalled, StillRunning, EndedAtLimit };

struct ProcessResult {
    ProcessEnd end = ProcessEnd::NotStarted;
    int exitCode = -1;  // the exit status when Exited, the signal number when Signalled
    bool started() const { return end != ProcessEnd::NotStarted; }
    bool succeeded() const { return end == ProcessEnd::Exited && exitCode == 0; }
};

// Starts the program with the environment of this process (so settings such as TMPDIR and
// fonts reach it), in a process group of its own, with /dev/null for stdin, stdout and stderr
// (its chatter is not ours to show, and a closed pipe there must not kill it) and no other
// open file.
ProcessResult runProcess(const ProcessRequest& request);

}  // namespace kx::platform
