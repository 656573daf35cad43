#include "workbook/reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <numeric>

#include "workbook/chart_data.h"
#include "workbook/compound_file.h"
#include "workbook/conditional_formats.h"
#include "workbook/defined_names.h"
#include "workbook/globals_reader.h"
#include "workbook/read_failure.h"
#include "workbook/sheet_reader.h"

namespace kx::workbook {

namespace {

using detail::ReadFailure;

// Sheets are read in the order they lie in the stream, after the globals, and may not overlap:
// a sheet that starts inside another would be read twice, which a crafted file could repeat
// without end.
void readSheets(std::span<const std::byte> stream, const detail::Globals& globals, Workbook& book)
{
    std::vector<size_t> order(globals.sheets.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return globals.sheets[a].streamOffset < globals.sheets[b].streamOffset;
    });
    detail::SheetContext context{book.formats.size(), book.fonts.size(), book.strings.size(), &globals, &book};
    size_t readUpTo = globals.end;
    for (size_t index : order) {
        const detail::SheetEntry& entry = globals.sheets[index];
        Sheet& sheet = book.sheets[index];
        if (entry.streamOffset < readUpTo || entry.streamOffset >= stream.size())
            throw ReadFailure(ErrorCode::Corrupt,
                              "the file is damaged (the sheet \"" + entry.name + "\" is not where the workbook says)");
        readUpTo = detail::readSheet(stream, entry.streamOffset, context, sheet, book.strings);
    }
}

Workbook readWorkbook(std::span<const std::byte> fileBytes)
{
    const detail::WorkbookStream stream = detail::extractWorkbookStream(fileBytes);
    detail::Globals globals = detail::readGlobals(stream.bytes);
    Workbook book = std::move(globals.workbook);
    book.summary = stream.summary;
    book.sheets.resize(globals.sheets.size());
    for (size_t i = 0; i < globals.sheets.size(); ++i) {
        book.sheets[i].name = globals.sheets[i].name;
        book.sheets[i].kind = globals.sheets[i].kind;
        book.sheets[i].visibility = globals.sheets[i].visibility;
    }
    if (book.fonts.empty())
        book.fonts.emplace_back();
    readSheets(stream.bytes, globals, book);
    detail::applyConditionalFormats(book);
    detail::applyBuiltinNames(globals, book.sheets);
    detail::fillChartData(book);
    return book;
}

std::vector<std::byte> readFile(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (std::filesystem::is_directory(status))
        throw ReadFailure(ErrorCode::FileNotFound, "it is a folder, not a file");
    // A device or pipe could be read without end.
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw ReadFailure(ErrorCode::FileNotFound, "it is not a regular file");
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const int cause = errno;
        throw ReadFailure(ErrorCode::FileNotFound, cause == ENOENT ? std::string("the file does not exist")
                                                                    : "the file cannot be read (" +
                                                                          std::string(std::strerror(cause)) + ")");
    }
    std::vector<std::byte> bytes;
    char buffer[1 << 16];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        const auto* begin = reinterpret_cast<const std::byte*>(buffer);
        bytes.insert(bytes.end(), begin, begin + file.gcount());
    }
    if (file.bad())
        throw ReadFailure(ErrorCode::FileNotFound, "the file cannot be read to the end");
    return bytes;
}

WorkbookError describedFailure(ErrorCode code, const std::string& displayName, const std::string& reason)
{
    return WorkbookError(code, "Cannot open " + displayName + ": " + reason + ".");
}

}  // namespace

Workbook loadWorkbook(std::span<const std::byte> fileBytes, const std::string& displayName)
{
    try {
        return readWorkbook(fileBytes);
    } catch (const ReadFailure& failure) {
        throw describedFailure(failure.code(), displayName, failure.what());
    } catch (const std::bad_alloc&) {
        throw describedFailure(ErrorCode::Corrupt, displayName, "there is not enough memory to read it");
    }
}

Workbook openWorkbook(const std::string& path)
{
    std::vector<std::byte> bytes;
    try {
        bytes = readFile(path);
    } catch (const ReadFailure& failure) {
        throw describedFailure(failure.code(), path, failure.what());
    } catch (const std::bad_alloc&) {
        throw describedFailure(ErrorCode::FileNotFound, path, "there is not enough memory to read it");
    }
    return loadWorkbook(bytes, path);
}

}  // namespace kx::workbook
