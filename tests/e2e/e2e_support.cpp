#include "e2e_support.h"

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/filesystem.h"
#include "platform/private_folder.h"

namespace kx::e2e {

TestMachine::TestMachine() : folder_(platform::createPrivateFolder("kx-e2e").value_or(""))
{
    const CommandResult gs = runCommand("command -v gs");
    std::ofstream(file("machine.reg"))
        << "Windows Registry Editor Version 5.00\n\n"
        << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\n\"GSPath\"=\"" << gs.output.substr(0, gs.output.find('\n')) << "\"\n\n"
        << "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Korvendal]\n"
        << "\"Name\"=\"Korvendal\"\n";
    if (const char* store = std::getenv("KORVENDAL_MACHINE_STORE")) {
        hadStore_ = true;
        previousStore_ = store;
    }
    ::setenv("KORVENDAL_MACHINE_STORE", file("machine.reg").c_str(), 1);
}

TestMachine::~TestMachine()
{
    if (hadStore_)
        ::setenv("KORVENDAL_MACHINE_STORE", previousStore_.c_str(), 1);
    else
        ::unsetenv("KORVENDAL_MACHINE_STORE");
    platform::removeFolderTree(folder_);
}

std::string TestMachine::file(const std::string& name) const
{
    return folder_ + "/" + name;
}

CommandResult runCommand(const std::string& command)
{
    const std::string errorsFile = platform::createPrivateFolder("kx-e2e-command").value_or("/tmp") + "/stderr";
    CommandResult result;
    if (FILE* pipe = ::popen((command + " 2>'" + errorsFile + "'").c_str(), "r")) {
        char buffer[4096];
        std::size_t count = 0;
        while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.output.append(buffer, count);
        const int status = ::pclose(pipe);
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    result.errors = readFile(errorsFile);
    platform::removeFolderTree(errorsFile.substr(0, errorsFile.rfind('/')));
    return result;
}

std::string corpusFolder()
{
    const char* overridden = std::getenv("KX_CORPUS_DIR");
    return overridden && *overridden ? overridden : KX_CORPUS_DIR;
}

std::string corpusFile(const std::string& name)
{
    return corpusFolder() + "/" + name;
}

bool corpusPresent()
{
    return platform::folderExists(corpusFolder());
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

int pdfPageCount(const std::string& pdf)
{
    const std::string info = runCommand("pdfinfo '" + pdf + "'").output;
    std::smatch match;
    return std::regex_search(info, match, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(match[1]) : -1;
}

std::string pdfText(const std::string& pdf, int first, int last)
{
    std::string range;
    if (first > 0)
        range = " -f " + std::to_string(first) + " -l " + std::to_string(last);
    const std::string text = runCommand("pdftotext" + range + " '" + pdf + "' -").output;
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

}  // namespace kx::e2e
