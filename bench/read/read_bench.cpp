// Reads workbooks and prints the time each one takes, the cells it holds and the total.
// Usage: kx_read_bench [--rounds N] [--generated] file-or-folder...
// --generated also reads a workbook of 65,536 rows by 10 columns built in memory. The peak
// memory printed at the end is that of the whole run, the input files included.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <string>
#include <vector>

#include "../workbook_files.h"
#include "generated_workbook.h"
#include "workbook/xls/reader.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Measurement {
    double milliseconds = 0;
    size_t cells = 0;
    size_t sheets = 0;
    std::string error;
};

std::vector<std::byte> readBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    std::transform(chars.begin(), chars.end(), bytes.begin(), [](char c) { return static_cast<std::byte>(c); });
    return bytes;
}

// The best of several rounds, so that a busy machine disturbs the figure less.
Measurement measure(const std::vector<std::byte>& bytes, const std::string& name, int rounds)
{
    Measurement result;
    result.milliseconds = 1e300;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        try {
            const kx::workbook::Workbook book = kx::workbook::loadWorkbook(bytes, name);
            result.sheets = book.sheets.size();
            result.cells = 0;
            for (const auto& sheet : book.sheets)
                for (const auto& row : sheet.rows)
                    result.cells += row.cells.size();
        } catch (const kx::workbook::WorkbookError& error) {
            result.error = error.what();
        }
        const std::chrono::duration<double, std::milli> elapsed = Clock::now() - start;
        result.milliseconds = std::min(result.milliseconds, elapsed.count());
    }
    return result;
}

void report(const std::string& name, size_t bytes, const Measurement& m)
{
    std::printf("%-45s %9zu bytes %8.2f ms %8.1f MB/s %8zu cells %3zu sheets %s\n", name.c_str(), bytes,
                m.milliseconds, static_cast<double>(bytes) / 1e6 / (m.milliseconds / 1e3), m.cells, m.sheets, m.error.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 3;
    bool generated = false;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--generated")
            generated = true;
        else
            kx::bench::addWorkbooks(argument, files);
    }
    std::sort(files.begin(), files.end());
    double totalMilliseconds = 0;
    size_t totalBytes = 0;
    for (const auto& path : files) {
        const std::vector<std::byte> bytes = readBytes(path);
        const Measurement m = measure(bytes, path.filename().string(), rounds);
        report(path.filename().string(), bytes.size(), m);
        totalMilliseconds += m.milliseconds;
        totalBytes += bytes.size();
    }
    if (generated) {
        const std::vector<std::byte> bytes = kx::bench::generatedWorkbook(65536, 10);
        const Measurement m = measure(bytes, "generated 65536 x 10", rounds);
        report("generated 65536 x 10", bytes.size(), m);
        totalMilliseconds += m.milliseconds;
        totalBytes += bytes.size();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("total: %zu bytes in %.2f ms (%.1f MB/s); peak memory %ld MB\n", totalBytes, totalMilliseconds,
                static_cast<double>(totalBytes) / 1e6 / (totalMilliseconds / 1e3), usage.ru_maxrss / 1024);
    return 0;
}
