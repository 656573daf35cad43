#include "workbook/print.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <memory>

#include "workbook/font_metrics.h"
#include "workbook/page_painter.h"
#include "workbook/print_file.h"

namespace kx::workbook {
namespace {

// However the sheets are set up, a print never grows beyond this many pages.
constexpr size_t maxPrintedPages = 10000;
constexpr double pointsPerPixel = 0.75;

struct PreparedSheet {
    const Sheet& sheet;
    SheetMetrics metrics;
    PageFrame frame;
    SheetPagination pagination;
    int firstPageNumber = 1;
};

const Font& defaultFont(const Workbook& workbook)
{
    static const Font fallback;
    return workbook.fonts.empty() ? fallback : workbook.fonts.front();
}

std::vector<std::unique_ptr<PreparedSheet>> paginateWorkbook(const Workbook& workbook, int digitWidth)
{
    std::vector<std::unique_ptr<PreparedSheet>> sheets;
    size_t pages = 0;
    int nextPageNumber = 1;
    for (const Sheet& sheet : workbook.sheets) {
        if (sheet.kind != SheetKind::Worksheet || sheet.visibility != Visibility::Visible)
            continue;
        auto prepared = std::make_unique<PreparedSheet>(
            PreparedSheet{sheet, SheetMetrics(sheet, digitWidth), pageFrame(sheet.pageSetup), {}});
        prepared->pagination = paginate(workbook, sheet, prepared->metrics, prepared->frame.contentWidth,
                                        prepared->frame.contentHeight, maxPrintedPages - pages);
        if (prepared->pagination.pages.empty())
            continue;
        // Numbering runs on through the workbook unless a sheet sets its own first number.
        prepared->firstPageNumber = sheet.pageSetup.firstPageNumber.value_or(nextPageNumber);
        nextPageNumber = prepared->firstPageNumber + static_cast<int>(prepared->pagination.pages.size());
        pages += prepared->pagination.pages.size();
        sheets.push_back(std::move(prepared));
    }
    return sheets;
}

std::string formatNow(const char* pattern)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, pattern, &local));
}

// The date and time as the en-US short formats write them, without leading zeros.
std::string stripLeadingZeros(std::string text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool startsNumber = i == 0 || text[i - 1] == '/' || text[i - 1] == ' ';
        if (!(startsNumber && text[i] == '0' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))))
            result += text[i];
    }
    return result;
}

}  // namespace

void setZoom(PageSetup& setup, int percent)
{
    setup.scale = static_cast<uint16_t>(std::clamp(percent, minimumZoom, maximumZoom));
    setup.fitToPages = false;
}

void printWorkbook(const Workbook& workbook, const PrintJob& job)
{
    const int digitWidth = maxDigitWidthPixels(defaultFont(workbook));
    const auto sheets = paginateWorkbook(workbook, digitWidth);
    int total = 0;
    for (const auto& sheet : sheets)
        total += static_cast<int>(sheet->pagination.pages.size());
    if (total == 0)
        throw WorkbookError(ErrorCode::NothingToPrint, "The workbook has nothing to print.");
    const int from = std::max(job.fromPage.value_or(1), 1);
    const int to = std::min(job.toPage.value_or(total), total);
    if (from > to)
        throw WorkbookError(ErrorCode::NothingToPrint, "The workbook has no pages from " + std::to_string(from) +
                                                           " to " + std::to_string(job.toPage.value_or(total)) +
                                                           "; it prints " + std::to_string(total) + " pages.");

    HeaderValues values;
    values.pages = total;
    values.date = stripLeadingZeros(formatNow("%m/%d/%Y"));
    values.time = stripLeadingZeros(formatNow("%I:%M %p"));
    values.fileName = job.documentTitle;

    CellFonts fonts(workbook);
    PrintFile file(job.outputPath);
    int position = 0;
    for (const auto& prepared : sheets) {
        const SheetPrint print{prepared->sheet, prepared->metrics, prepared->pagination, prepared->frame,
                               parseHeaderFooter(prepared->sheet.pageSetup.header),
                               parseHeaderFooter(prepared->sheet.pageSetup.footer), digitWidth * pointsPerPixel};
        values.sheetName = prepared->sheet.name;
        for (size_t page = 0; page < prepared->pagination.pages.size(); ++page) {
            ++position;
            if (position < from || position > to)
                continue;
            values.page = prepared->firstPageNumber + static_cast<int>(page);
            cairo_t* cr = file.beginPage(prepared->frame.pageWidth, prepared->frame.pageHeight);
            paintPage(cr, workbook, fonts, print, prepared->pagination.pages[page], values);
            file.endPage();
        }
    }
    file.commit();
}

}  // namespace kx::workbook
