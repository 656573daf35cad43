#include "platform/forked_job.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kx::platform {
namespace {

void writeAll(int descriptor, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return;
        written += static_cast<std::size_t>(count);
    }
}

std::string readAll(int descriptor)
{
    std::string text;
    char buffer[4096];
    while (true) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

[[noreturn]] void runChild(const std::function<std::string()>& work, int reportPipe)
{
    ::setpgid(0, 0);
    const int nothing = ::open("/dev/null", O_WRONLY);
    ::dup2(nothing, STDOUT_FILENO);
    ::dup2(nothing, STDERR_FILENO);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    int status = 0;
    try {
        writeAll(reportPipe, work());
    } catch (...) {
        status = 1;
    }
    // Without the parent's exit handlers and static destructors, which are the parent's to run.
    ::_exit(status);
}

std::string causeOf(int status)
{
    if (WIFSIGNALED(status))
        return std::string("the conversion ended abruptly (") + ::strsignal(WTERMSIG(status)) + ")";
    return "the conversion ended without a result (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
}

}  // namespace

std::optional<ForkedJob> startForkedJob(const std::function<std::string()>& work)
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipe[0]);
        ::close(pipe[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(pipe[0]);
        runChild(work, pipe[1]);
    }
    ::setpgid(child, child);  // also here, so that the group exists before any signal is sent to it
    ::close(pipe[1]);
    return ForkedJob{child, pipe[0]};
}

std::optional<ForkedJobEnd> waitForForkedJob(const std::function<int(int processId)>& pipeOf)
{
    int status = 0;
    rusage usage{};
    const pid_t child = ::wait4(-1, &status, 0, &usage);
    if (child <= 0)
        return std::nullopt;
    ForkedJobEnd end{.processId = child, .peakMemoryKb = usage.ru_maxrss};
    const int pipe = pipeOf(child);
    if (pipe >= 0) {
        end.report = readAll(pipe);
        ::close(pipe);
    }
    end.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !end.report.empty();
    if (!end.finished)
        end.cause = causeOf(status);
    return end;
}

void endForkedJob(const ForkedJob& job)
{
    ::kill(-job.processId, SIGKILL);
}

}  // namespace kx::platform
