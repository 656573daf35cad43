#include "workbook/xls/reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <numeric>

#include "workbook/xls/biff5_upgrade.h"
#include "workbook/xls/chart_data.h"
#include "workbook/xls/compound_file.h"
#include "workbook/conditions/conditional_formats.h"
#include "workbook/xls/decryption.h"
#include "workbook/xls/defined_names.h"
#include "workbook/xls/early_worksheet.h"
#include "workbook/xls/globals_reader.h"
#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/sheet_reader.h"

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
    detail::SheetContext context{book.formats.size(), book.fonts.size(), book.strings.size(), &globals, &book,
                                 &book.warnings};
    size_t readUpTo = globals.end;
    for (size_t index : order) {
        const detail::SheetEntry& entry = globals.sheets[index];
        Sheet& sheet = book.sheets[index];
        // The sheets after one that the end of the stream cut short are lost with the rest of it.
        if (readUpTo == stream.size() && readUpTo > globals.end && entry.streamOffset >= stream.size()) {
            book.warnings.add(detail::record_type::Bof, entry.streamOffset,
                              "the sheet \"" + entry.name + "\", which lies past the end of the workbook stream");
            continue;
        }
        if (entry.streamOffset < readUpTo || entry.streamOffset >= stream.size())
            throw ReadFailure(ErrorCode::Corrupt,
                              "the file is damaged (the sheet \"" + entry.name + "\" is not where the workbook says)");
        readUpTo = detail::readSheet(stream, entry.streamOffset, context, sheet, book.strings);
    }
}

// A worksheet of Excel 2.1 to 4.0 is one sheet with no name of its own: the spreadsheet program
// shows it under the file's name.
std::string earlyWorksheetName(const std::string& displayName)
{
    const std::filesystem::path path(displayName);
    return path.has_extension() && !path.stem().empty() ? path.stem().string() : "Sheet1";
}

// The workbook stream in the Excel 97-2003 layout, whatever version and wrapping the file has,
// with the summary information a compound file keeps beside it.
detail::WorkbookStream workbookStreamOf(std::span<const std::byte> fileBytes)
{
    detail::WorkbookStream stream = detail::isEarlyWorksheet(fileBytes)
                                        ? detail::WorkbookStream{.bytes = detail::earlyWorksheetAsBiff5(fileBytes)}
                                        : detail::extractWorkbookStream(fileBytes);
    detail::decryptWorkbookStream(stream.bytes);
    if (detail::isBiff5Stream(stream.bytes))
        stream.bytes = detail::upgradeBiff5Stream(stream.bytes);
    return stream;
}

Workbook readWorkbook(std::span<const std::byte> fileBytes, const std::string& displayName)
{
    const detail::WorkbookStream stream = workbookStreamOf(fileBytes);
    detail::Globals globals = detail::readGlobals(stream.bytes);
    Workbook book = std::move(globals.workbook);
    book.summary = stream.summary;
    book.sheets.resize(globals.sheets.size());
    for (size_t i = 0; i < globals.sheets.size(); ++i) {
        book.sheets[i].name = globals.sheets[i].name;
        book.sheets[i].kind = globals.sheets[i].kind;
        book.sheets[i].visibility = globals.sheets[i].visibility;
    }
    if (detail::isEarlyWorksheet(fileBytes) && !book.sheets.empty())
        book.sheets[0].name = earlyWorksheetName(displayName);
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
        return readWorkbook(fileBytes, displayName);
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
