#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "e2e_support.h"

extern char** environ;

using namespace kx::e2e;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// True once `pid` handles `signal` itself instead of leaving it to the default.
bool catchesSignal(pid_t pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

// The wait status of `pid`, or nothing when it still runs after `span` (it is then killed).
std::optional<int> endOf(pid_t pid, std::chrono::milliseconds span)
{
    const auto deadline = std::chrono::steady_clock::now() + span;
    for (int status = 0; std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(20ms)) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return status;
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return std::nullopt;
}

}  // namespace

// A portable program folder as the set-up script prepares it, with files an earlier job left in
// the workspace; the toolkit's own options given on the command line must change nothing.
TEST(DesktopProgram, IgnoresToolkitOptionsAndEndsCleanlyOnSigterm)
{
    TestMachine machine;
    std::ofstream(machine.file("machine.reg"), std::ios::app)
        << "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\11.0\\Excel\\InstallRoot]\n\"Path\"=\"/opt/engine\"\n";
    const fs::path program = machine.file("program");
    fs::create_directories(program / "temp");
    fs::copy_file(KX_DESKTOP_EXE, program / "korvendal-xl");
    std::ofstream(program / "SETTINGS.INI") << "[SETTINGS]\nPATH=\nOUTPUTPATH=\nOPENFILE=0\n";
    std::ofstream(program / "temp" / "PsFile.ps") << "%!PS left by an earlier job";

    const std::string executable = (program / "korvendal-xl").string();
    std::vector<std::string> arguments { executable, "-platform", "no-such-platform", "-reverse", "-qwindowtitle", "X" };
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, executable.c_str(), nullptr, nullptr, argv.data(), environ), 0);

    for (const auto deadline = std::chrono::steady_clock::now() + 20s;
         !catchesSignal(pid, SIGTERM) && std::chrono::steady_clock::now() < deadline;)
        std::this_thread::sleep_for(10ms);
    ::kill(pid, SIGTERM);
    const std::optional<int> status = endOf(pid, 20s);

    ASSERT_TRUE(status) << "still running after SIGTERM";
    EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WIFEXITED(*status) ? WEXITSTATUS(*status) : -1, 0);
    EXPECT_FALSE(fs::exists(program / "temp" / "PsFile.ps"));
}
