// Prints workbooks to PostScript as the converter does and says how long each step takes:
// reading, printing (pages laid out and written), and with --ghostscript Ghostscript's first
// pass on that PostScript, run with the converter's own command line.
// Usage: kx_print_bench [--rounds N] [--ghostscript GS] [--keep-postscript DIR] file-or-folder...
// --keep-postscript leaves each workbook's PostScript in DIR as NAME.ps, for comparing the
// output of two builds.
// Every sheet prints as the fidelity bench asks the converter: the first worksheet on A4
// portrait at zoom 100 with gridlines, without headings or print area, comments at the end.
// The first round of the first workbook also pays for starting the font machinery once; that
// round is shown apart ("first"), the best of the rounds after it as "best".
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../workbook_files.h"
#include "conversion/ghostscript.h"
#include "platform/filesystem.h"
#include "workbook/print/print.h"
#include "workbook/xls/reader.h"

namespace {

using namespace kx;
using Clock = std::chrono::steady_clock;

constexpr uint16_t a4Paper = 9;

double millisecondsOf(const std::function<void()>& step)
{
    const auto start = Clock::now();
    step();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void applyBenchSetup(workbook::Workbook& book)
{
    for (workbook::Sheet& sheet : book.sheets) {
        if (sheet.kind != workbook::SheetKind::Worksheet)
            continue;
        workbook::PageSetup& setup = sheet.pageSetup;
        setup.paperSize = a4Paper;
        workbook::setZoom(setup, 100);
        setup.landscape = false;
        setup.gridlines = true;
        setup.headings = false;
        setup.comments = workbook::CommentPrinting::AtEnd;
        setup.printArea.clear();
        return;
    }
}

// Ghostscript writes its banner to the standard output, which holds the figures.
bool runGhostscriptQuietly(const std::string& ghostscript, const std::string& folder)
{
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    close(null);
    const bool ran = conversion::RunFirstPass(ghostscript, folder, conversion::PageSelection::AllPages) &&
                     conversion::FinishedPdfExists(folder);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    return ran;
}

struct Figures {
    double read = 1e300, print = 1e300, ghostscript = 1e300, firstPrint = 0;
    uintmax_t postScriptBytes = 0;
    std::string error;
};

Figures measure(const std::filesystem::path& path, const std::string& folder, const std::string& ghostscript,
                int rounds)
{
    Figures figures;
    const std::string postScript = platform::joinPath(folder, conversion::kPostScriptFile);
    for (int round = 0; round < rounds; ++round) {
        try {
            workbook::Workbook book;
            figures.read = std::min(figures.read, millisecondsOf([&] { book = workbook::openWorkbook(path.string()); }));
            applyBenchSetup(book);
            const workbook::PrintJob job{.outputPath = postScript, .documentTitle = path.filename().string()};
            const double print = millisecondsOf([&] { workbook::printWorkbook(book, job); });
            if (round == 0)
                figures.firstPrint = print;
            figures.print = std::min(figures.print, print);
        } catch (const workbook::WorkbookError& error) {
            figures.error = error.what();
            return figures;
        }
        figures.postScriptBytes = std::filesystem::file_size(postScript);
        if (!ghostscript.empty()) {
            bool ran = false;
            const double seconds = millisecondsOf([&] { ran = runGhostscriptQuietly(ghostscript, folder); });
            if (!ran)
                figures.error = "Ghostscript failed";
            figures.ghostscript = std::min(figures.ghostscript, seconds);
        }
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 3;
    std::string ghostscript, keep;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--ghostscript" && i + 1 < argc)
            ghostscript = argv[++i];
        else if (argument == "--keep-postscript" && i + 1 < argc)
            keep = argv[++i];
        else
            kx::bench::addWorkbooks(argument, files);
    }
    std::sort(files.begin(), files.end());
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("kx_print_bench." + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    std::printf("%-40s %9s %9s %9s %9s %10s\n", "workbook", "read ms", "first ms", "print ms", "gs ms", "PS KB");
    double read = 0, print = 0, gs = 0;
    uintmax_t bytes = 0;
    for (const auto& path : files) {
        const Figures f = measure(path, folder.string(), ghostscript, rounds);
        if (!f.error.empty() && f.print > 1e299) {
            std::printf("%-40s %s\n", path.filename().c_str(), f.error.c_str());
            continue;
        }
        std::printf("%-40s %9.1f %9.1f %9.1f %9.1f %10.0f %s\n", path.filename().c_str(), f.read, f.firstPrint, f.print,
                    ghostscript.empty() ? 0.0 : f.ghostscript, static_cast<double>(f.postScriptBytes) / 1024.0, f.error.c_str());
        if (!keep.empty())
            std::filesystem::copy_file(folder / kx::conversion::kPostScriptFile,
                                       std::filesystem::path(keep) / path.filename().replace_extension(".ps"),
                                       std::filesystem::copy_options::overwrite_existing);
        read += f.read;
        print += f.print;
        gs += ghostscript.empty() ? 0 : f.ghostscript;
        bytes += f.postScriptBytes;
    }
    std::printf("total: read %.1f ms, print %.1f ms, Ghostscript %.1f ms, PostScript %.0f KB", read, print, gs,
                static_cast<double>(bytes) / 1024.0);
    if (gs > 0)
        std::printf("; (read + print + Ghostscript) / Ghostscript %.2f", (read + print + gs) / gs);
    std::printf("\n");
    std::filesystem::remove_all(folder);
    return 0;
}
