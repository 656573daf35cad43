#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

#include "platform/process.h"
#include "platform/termination.h"
#include "support/temp_folder.h"

using namespace kx::platform;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

ProgramResolver resolverOf(std::set<std::string> executables)
{
    return [executables](const std::string& candidate) -> std::optional<std::string> {
        if (executables.contains(candidate))
            return candidate;
        return std::nullopt;
    };
}

}  // namespace

TEST(CommandLineSplit, ProgramIsTheLongestLeadingRunNamingAnExecutable)
{
    const auto resolve = resolverOf({ "/opt/My Tools/gs", "/opt/My", "/usr/bin/gs" });
    struct Case {
        std::string line;
        std::optional<CommandLine> expected;
    };
    const std::vector<Case> cases {
        { "/opt/My Tools/gs -a \"b c\" d", CommandLine { "/opt/My Tools/gs", { "-a", "b c", "d" } } },
        { "/opt/My x", CommandLine { "/opt/My", { "x" } } },
        { "\"/opt/My Tools/gs\" -q", CommandLine { "/opt/My Tools/gs", { "-q" } } },
        { "  /usr/bin/gs -sOutputFile=\"/tmp/a b/PdfFile.pdf\" -f \"/tmp/a b/PsFile.ps\"",
            CommandLine { "/usr/bin/gs", { "-sOutputFile=/tmp/a b/PdfFile.pdf", "-f", "/tmp/a b/PsFile.ps" } } },
        { "/usr/bin/gs \"\" \"a b", CommandLine { "/usr/bin/gs", { "", "a b" } } },
        { "/usr/bin/gs C:\\temp\\x", CommandLine { "/usr/bin/gs", { "C:\\temp\\x" } } },
        { "/missing/gs -a", std::nullopt },
        { "\"/opt/My\" Tools/gs", CommandLine { "/opt/My", { "Tools/gs" } } },
        { "\"/opt/My Tools/gs", CommandLine { "/opt/My Tools/gs", {} } },
        { "", std::nullopt },
        { " \t ", std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitCommandLine(c.line, resolve), c.expected) << c.line;
}

TEST(CommandLineSplit, BareNamesAreFoundInPath)
{
    const auto shell = resolveProgram("sh");
    ASSERT_TRUE(shell);
    EXPECT_TRUE(shell->starts_with("/") && shell->ends_with("/sh")) << *shell;
    EXPECT_EQ(resolveProgram("/usr/bin"), std::nullopt);
    EXPECT_EQ(resolveProgram("no-such-program-kx"), std::nullopt);
}

// Scripts in a folder whose path has blanks, run for real.
class RealProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root_);
        fs::create_directories(work_);
    }

    std::string script(const std::string& name, const std::string& body)
    {
        const fs::path path = root_ / name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        fs::permissions(path, fs::perms::owner_all);
        return path.string();
    }
    std::string output() { return folder_.read("work folder/out.txt"); }
    ProcessResult run(const std::string& commandLine, std::optional<std::chrono::milliseconds> limit = {})
    {
        return runProcess({ .commandLine = commandLine, .workingFolder = work_.string(), .waitLimit = limit });
    }

    kx::testing::TempFolder folder_;
    fs::path root_ = folder_.file("with blanks");
    fs::path work_ = folder_.file("work folder");
};

TEST_F(RealProcess, UnquotedPathWithBlanksQuotedArgumentsAndWorkingFolder)
{
    const auto program = script("print args", "pwd > out.txt; for a; do echo \"[$a]\" >> out.txt; done\n");
    const auto result = run(program + " -x \"two words\" last");
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(output(), work_.string() + "\n[-x]\n[two words]\n[last]\n");
}

TEST_F(RealProcess, ExitCodeAndSignalAreReportedAsStarted)
{
    const auto failing = run(script("fail", "exit 3\n"));
    EXPECT_EQ(failing.end, ProcessEnd::Exited);
    EXPECT_EQ(failing.exitCode, 3);
    EXPECT_TRUE(failing.started());
    EXPECT_FALSE(failing.succeeded());

    const auto killed = run(script("killed", "kill -9 $$\n"));
    EXPECT_EQ(killed.end, ProcessEnd::Signalled);
    EXPECT_EQ(killed.exitCode, 9);
}

TEST_F(RealProcess, MissingProgramOrFolderIsNotStartedAndDoesNotWait)
{
    std::ofstream(root_ / "not executable") << "#!/bin/sh\n";
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(run((root_ / "no such program").string() + " -a").started());
    EXPECT_FALSE(run((root_ / "not executable").string()).started());
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);

    const auto program = script("print args", "exit 0\n");
    EXPECT_FALSE(runProcess({ .commandLine = program, .workingFolder = (root_ / "missing").string() }).started());
}

// True once the process is gone or a zombie that only its new parent can collect.
static bool endsWithin(const std::string& pidText, std::chrono::milliseconds span, bool zombieCounts)
{
    const auto deadline = std::chrono::steady_clock::now() + span;
    do {
        std::ifstream stat("/proc/" + std::to_string(std::stoi(pidText)) + "/stat");
        std::string pid, name, state;
        if (!(stat >> pid >> name >> state) || (zombieCounts && state == "Z"))
            return true;
        std::this_thread::sleep_for(20ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

TEST_F(RealProcess, WaitLimitReturnsWhileTheProgramRunsWhichIsReapedWhenItEnds)
{
    const auto before = std::chrono::steady_clock::now();
    const auto result = run(script("slow", "echo $$ > out.txt; exec sleep 0.3\n"), 50ms);
    EXPECT_EQ(result.end, ProcessEnd::StillRunning);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 800ms);
    EXPECT_TRUE(endsWithin(output(), 5s, false)) << "left a zombie";
    EXPECT_TRUE(run(script("quick", "exit 0\n"), 5s).succeeded());
}

TEST_F(RealProcess, EndingAtTheLimitEndsEverythingTheProgramStarted)
{
    const auto program = script("hang", "sleep 60 & echo $! > out.txt; exec sleep 60\n");
    const auto before = std::chrono::steady_clock::now();
    const auto result = runProcess(
        { .commandLine = program, .workingFolder = work_.string(), .waitLimit = 500ms, .endAtLimit = true });
    EXPECT_EQ(result.end, ProcessEnd::EndedAtLimit);
    EXPECT_TRUE(result.started());
    EXPECT_FALSE(result.succeeded());
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_TRUE(endsWithin(output(), 5s, true)) << "the program's own child still runs";
}

// A log-off sends SIGTERM to the program while it waits for Ghostscript: the wait must end at
// once, and the request must reach the event loop. In a process of its own, since the request
// stays in force there.
TEST_F(RealProcess, ARequestToEndStopsTheProgramBeingWaitedFor)
{
    const auto program = script("asks to end", "kill -TERM $PPID; exec sleep 30\n");
    EXPECT_EXIT(
        {
            const int requests = installTerminationRequests();
            const auto before = std::chrono::steady_clock::now();
            const auto result = run(program);
            char request = 0;
            const bool stoppedAtOnce = result.end == ProcessEnd::Signalled
                && std::chrono::steady_clock::now() - before < 10s;
            std::_Exit(requests >= 0 && stoppedAtOnce && ::read(requests, &request, 1) == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// Started from a launcher, or with its output piped into `head`, the program's own output
// may be a pipe nobody reads.
TEST_F(RealProcess, ChildOutputGoesNowhereEvenWhenOursIsAClosedPipe)
{
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
    const auto ignoredBefore = std::signal(SIGPIPE, SIG_IGN);
    const int savedOut = ::dup(STDOUT_FILENO), savedError = ::dup(STDERR_FILENO);
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::dup2(pipeEnds[1], STDERR_FILENO);
    const auto result = run(script("chatty", "echo banner; echo warning >&2; touch out.txt\n"));
    ::dup2(savedOut, STDOUT_FILENO);
    ::dup2(savedError, STDERR_FILENO);
    for (const int descriptor : { savedOut, savedError, pipeEnds[1] })
        ::close(descriptor);
    std::signal(SIGPIPE, ignoredBefore);

    EXPECT_TRUE(result.succeeded()) << "ended by signal " << result.exitCode;
    EXPECT_TRUE(fs::exists(work_ / "out.txt"));
}

TEST_F(RealProcess, ChildGetsNoInheritedDescriptorsAndAnEmptyStdin)
{
    const int leaked = ::open("/dev/null", O_RDONLY);  // deliberately without O_CLOEXEC
    ASSERT_GE(leaked, 0);
    const auto program = script("fds", "test -e /proc/$$/fd/" + std::to_string(leaked) +
            " && echo open > out.txt || echo closed > out.txt; cat >> out.txt\n");
    EXPECT_TRUE(run(program).succeeded());
    ::close(leaked);
    EXPECT_EQ(output(), "closed\n");
}

TEST_F(RealProcess, HigherPriorityWhereAllowed)
{
    const auto program = script("nice", "sleep 0.3; cut -d' ' -f19 /proc/$$/stat > out.txt\n");
    ASSERT_TRUE(runProcess({ .commandLine = program, .workingFolder = work_.string(), .higherPriority = true })
                    .succeeded());
    const int childNice = std::stoi(output());
    const int ownNice = ::nice(0);
    if (::geteuid() == 0)
        EXPECT_LT(childNice, ownNice);
    else
        EXPECT_EQ(childNice, ownNice);
}
