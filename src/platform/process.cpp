#include "platform/process.h"

#include "platform/environment.h"
#include "platform/termination.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kx::platform {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct Word {
    std::size_t begin;
    std::size_t end;
};

// The blank-separated words before the first double quote.
std::vector<Word> leadingUnquotedWords(std::string_view text)
{
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const std::size_t begin = i;
        while (i < text.size() && !isBlank(text[i]) && text[i] != '"')
            ++i;
        if (i < text.size() && text[i] == '"')
            break;
        if (i > begin)
            words.push_back({ begin, i });
    }
    return words;
}

std::vector<std::string> splitArguments(std::string_view text)
{
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i == text.size())
            return arguments;
        std::string argument;
        bool quoted = false;
        for (; i < text.size() && (quoted || !isBlank(text[i])); ++i) {
            if (text[i] == '"')
                quoted = !quoted;
            else
                argument.push_back(text[i]);
        }
        arguments.push_back(std::move(argument));
    }
}

bool isExecutableFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Lowers the niceness a little; an unprivileged caller is refused, which is fine.
void raisePriority(pid_t pid)
{
    constexpr int kRaise = 5;
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, 0);
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), std::max(current - kRaise, -20));
}

std::optional<pid_t> spawn(const CommandLine& command, const std::string& workingFolder)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(command.program.c_str()));
    for (const auto& argument : command.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (!workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    // The child starts with no blocked signals and with SIGPIPE back at its default, whatever
    // the toolkit set up for this process.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    // A group of its own, so that ending it at a wait limit ends whatever it started too.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    pid_t pid = 0;
    const int error = posix_spawn(&pid, command.program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return std::nullopt;
    return pid;
}

ProcessResult resultOf(int status)
{
    if (WIFEXITED(status))
        return { ProcessEnd::Exited, WEXITSTATUS(status) };
    return { ProcessEnd::Signalled, WIFSIGNALED(status) ? WTERMSIG(status) : -1 };
}

ProcessResult waitWithoutLimit(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return { ProcessEnd::StillRunning };
    }
    return resultOf(status);
}

// A descriptor that becomes readable when the child ends, so a wait wakes at once instead of
// at the next tick of a poll; -1 where the kernel has none, and the wait polls.
class ChildEndSignal {
public:
    // By system call number: the C library's declaration of pidfd_open lacks C linkage in
    // Debian 12's headers.
    explicit ChildEndSignal(pid_t pid) : descriptor_(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}
    ~ChildEndSignal()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    ChildEndSignal(const ChildEndSignal&) = delete;
    ChildEndSignal& operator=(const ChildEndSignal&) = delete;

    // Returns when the child may have ended, or after `span` at the most.
    void pause(std::chrono::steady_clock::duration span) const
    {
        if (descriptor_ < 0) {
            constexpr auto kPollInterval = std::chrono::milliseconds(5);
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kPollInterval, span));
            return;
        }
        pollfd watch { descriptor_, POLLIN, 0 };
        const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(span).count();
        ::poll(&watch, 1, static_cast<int>(std::min<long long>(milliseconds, INT_MAX)));
    }

private:
    int descriptor_;
};

// Nothing while the child runs on after `limit`.
std::optional<ProcessResult> waitAtMost(pid_t pid, std::chrono::milliseconds limit)
{
    const ChildEndSignal childEnd(pid);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        int status = 0;
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return resultOf(status);
        if (ended < 0 && errno != EINTR)
            return ProcessResult { ProcessEnd::StillRunning };
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return std::nullopt;
        childEnd.pause(deadline - now);
    }
}

// Asks the whole group to stop, then forces what is left of it after a short grace. The
// leader is collected last, so that its number, which names the group, cannot pass to
// another process before then.
ProcessResult endGroup(pid_t pid)
{
    constexpr auto kGrace = std::chrono::seconds(2);
    ::kill(-pid, SIGTERM);
    const ChildEndSignal childEnd(pid);
    const auto deadline = std::chrono::steady_clock::now() + kGrace;
    for (auto now = std::chrono::steady_clock::now(); now < deadline; now = std::chrono::steady_clock::now()) {
        siginfo_t info {};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid)
            break;
        childEnd.pause(deadline - now);
    }
    ::kill(-pid, SIGKILL);
    waitWithoutLimit(pid);
    return { ProcessEnd::EndedAtLimit };
}

// A program left running is still this process's child: someone must collect it when it ends.
ProcessResult reapLater(pid_t pid)
{
    std::thread([pid] { waitWithoutLimit(pid); }).detach();
    return { ProcessEnd::StillRunning };
}

ProcessResult waitFor(pid_t pid, const ProcessRequest& request)
{
    if (!request.waitLimit)
        return waitWithoutLimit(pid);
    if (const auto ended = waitAtMost(pid, *request.waitLimit))
        return *ended;
    return request.endAtLimit ? endGroup(pid) : reapLater(pid);
}

}  // namespace

std::optional<CommandLine> splitCommandLine(std::string_view commandLine, const ProgramResolver& resolve)
{
    const auto start = commandLine.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return std::nullopt;
    commandLine.remove_prefix(start);

    if (commandLine.front() == '"') {
        const auto close = commandLine.find('"', 1);
        const auto program = resolve(std::string(commandLine.substr(1, close == std::string_view::npos ? close : close - 1)));
        if (!program)
            return std::nullopt;
        const auto rest = close == std::string_view::npos ? std::string_view {} : commandLine.substr(close + 1);
        return CommandLine { *program, splitArguments(rest) };
    }
    const auto words = leadingUnquotedWords(commandLine);
    for (auto word = words.rbegin(); word != words.rend(); ++word) {
        if (const auto program = resolve(std::string(commandLine.substr(0, word->end))))
            return CommandLine { *program, splitArguments(commandLine.substr(word->end)) };
    }
    return std::nullopt;
}

std::optional<std::string> resolveProgram(const std::string& candidate)
{
    if (candidate.empty())
        return std::nullopt;
    if (candidate.find('/') != std::string::npos)
        return isExecutableFile(candidate) ? std::optional(candidate) : std::nullopt;
    const std::string searchPath = environmentVariable("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
    std::string_view path = searchPath;
    while (true) {
        const auto colon = path.find(':');
        const std::string folder(path.substr(0, colon));
        const std::string full = (folder.empty() ? std::string(".") : folder) + "/" + candidate;
        if (isExecutableFile(full))
            return full;
        if (colon == std::string_view::npos)
            return std::nullopt;
        path.remove_prefix(colon + 1);
    }
}

ProcessResult runProcess(const ProcessRequest& request)
{
    const auto command = splitCommandLine(request.commandLine, resolveProgram);
    if (!command)
        return {};
    const auto pid = spawn(*command, request.workingFolder);
    if (!pid)
        return {};
    if (request.higherPriority)
        raisePriority(*pid);
    noteChildGroupBeingWaitedFor(*pid);
    const ProcessResult result = waitFor(*pid, request);
    noteChildGroupBeingWaitedFor(0);
    return result;
}

}  // namespace kx::platform
