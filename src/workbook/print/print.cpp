#include "workbook/print/print.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <memory>
#include <utility>

#include "workbook/charts/chart_painter.h"
#include "workbook/render/shape_painter.h"
#include "workbook/render/comment_pages.h"
#include "workbook/layout/drawing_geometry.h"
#include "workbook/render/drawing_painter.h"
#include "workbook/canvas/font_metrics.h"
#include "workbook/print/font_preparation.h"
#include "workbook/render/page_links.h"
#include "workbook/render/page_painter.h"
#include "workbook/print/print_file.h"
#include "workbook/render/text_spill.h"

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
    CommentPages comments;
    int firstPageNumber = 1;
    bool chartSheet = false;  // printed as its chart on a page of its own

    size_t pageCount() const { return chartSheet ? 1 : pagination.pages.size() + comments.size(); }
};

const Font& defaultFont(const Workbook& workbook)
{
    static const Font fallback;
    return workbook.fonts.empty() ? fallback : workbook.fonts.front();
}

void paginateCells(const Workbook& workbook, PreparedSheet& prepared, CellFonts& fonts, size_t pagesLeft)
{
    const Sheet& sheet = prepared.sheet;
    std::vector<CellRange> inked = textSpills(workbook, sheet, prepared.metrics, fonts);
    const std::vector<CellRange> underDrawings = drawingAreas(sheet);
    inked.insert(inked.end(), underDrawings.begin(), underDrawings.end());
    prepared.pagination = paginate(workbook, sheet, prepared.metrics, prepared.frame.contentWidth,
                                   prepared.frame.contentHeight, pagesLeft, inked);
    prepared.comments = commentPages(sheet, defaultFont(workbook), prepared.frame);
}

std::vector<std::unique_ptr<PreparedSheet>> paginateWorkbook(const Workbook& workbook, int digitWidth,
                                                             CellFonts& fonts)
{
    std::vector<std::unique_ptr<PreparedSheet>> sheets;
    size_t pages = 0;
    int nextPageNumber = 1;
    for (const Sheet& sheet : workbook.sheets) {
        const bool chartSheet = sheet.kind == SheetKind::Chart && !sheet.charts.empty();
        if ((sheet.kind != SheetKind::Worksheet && !chartSheet) || sheet.visibility != Visibility::Visible)
            continue;
        auto prepared = std::make_unique<PreparedSheet>(
            PreparedSheet{sheet, SheetMetrics(sheet, digitWidth, paperColumnScale(defaultFont(workbook))),
                          pageFrame(sheet.pageSetup), {}});
        prepared->chartSheet = chartSheet;
        if (!chartSheet)
            paginateCells(workbook, *prepared, fonts, maxPrintedPages - pages);
        if (prepared->pageCount() == 0)
            continue;
        if (pages + prepared->pageCount() > maxPrintedPages)
            throw WorkbookError(ErrorCode::TooManyPages,
                                "The print would need more than " + std::to_string(maxPrintedPages) + " pages.");
        // Numbering runs on through the workbook unless a sheet sets its own first number.
        prepared->firstPageNumber = sheet.pageSetup.firstPageNumber.value_or(nextPageNumber);
        nextPageNumber = prepared->firstPageNumber + static_cast<int>(prepared->pageCount());
        pages += prepared->pageCount();
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

DocumentInfo documentInfo(const Workbook& workbook, const PrintJob& job)
{
    const DocumentSummary& summary = workbook.summary;
    return {.title = summary.title.empty() ? job.documentTitle : summary.title,
            .subject = summary.subject,
            .author = summary.author,
            .keywords = summary.keywords,
            .creator = job.creator,
            .created = std::time(nullptr)};
}

// The chart, and the text boxes and shapes of the chart sheet over it.
void paintChartPage(cairo_t* cr, const Workbook& workbook, CellFonts& fonts, const Sheet& sheet, const PageFrame& frame)
{
    const Chart& chart = sheet.charts.front();
    Box box = chartSheetBox(chart, frame.contentWidth, frame.contentHeight);
    box.x += frame.left;
    box.y += frame.top;
    paintChart(cr, workbook, fonts, chart, box);
    for (const Drawing& drawing : sheet.drawings) {
        if (drawing.kind == DrawingKind::TextBox)
            paintTextBox(cr, fonts, drawing, shareOf(box, drawing.share));
        else if (drawing.kind == DrawingKind::Shape)
            paintShape(cr, drawing, shareOf(box, drawing.share));
    }
}

}  // namespace

void setZoom(PageSetup& setup, int percent)
{
    setup.scale = static_cast<uint16_t>(std::clamp(percent, minimumZoom, maximumZoom));
    setup.fitToPages = false;
}

void printWorkbook(const Workbook& workbook, const PrintJob& job)
{
    // Made before the first text is measured, which waits for the font configuration to load:
    // creating the files takes a while of its own that the loading then covers.
    PrintFile file(job.outputPath, job.format);
    file.setDocumentInfo(documentInfo(workbook, job));
    waitForPreparedFonts();
    const int digitWidth = maxDigitWidthPixels(defaultFont(workbook));
    CellFonts fonts(workbook);
    const auto sheets = paginateWorkbook(workbook, digitWidth, fonts);
    int total = 0;
    for (const auto& sheet : sheets)
        total += static_cast<int>(sheet->pageCount());
    if (total == 0)
        throw WorkbookError(ErrorCode::NothingToPrint, "The workbook has nothing to print.");
    const int from = std::max(job.fromPage.value_or(1), 1);
    const int to = std::min(job.toPage.value_or(total), total);
    if (from > to)
        throw WorkbookError(ErrorCode::NothingToPrint, "The workbook has no pages from " + std::to_string(from) +
                                                           " to " + std::to_string(job.toPage.value_or(total)) +
                                                           "; it prints " + std::to_string(total) +
                                                           (total == 1 ? " page." : " pages."));

    HeaderValues values;
    values.pages = total;
    values.date = stripLeadingZeros(formatNow("%m/%d/%Y"));
    values.time = stripLeadingZeros(formatNow("%I:%M %p"));
    values.fileName = job.documentTitle;

    LinkTargets linkTargets(from, to);
    int sheetStart = 1;
    for (const auto& prepared : sheets) {
        linkTargets.addSheet(prepared->sheet, prepared->pagination, sheetStart);
        sheetStart += static_cast<int>(prepared->pageCount());
    }

    DecodedPictures pictures(workbook, job.warnings);
    HeaderFooterPainter headerFooter;
    int position = 0;
    for (const auto& prepared : sheets) {
        const SheetPrint print{prepared->sheet, prepared->metrics, prepared->pagination, prepared->frame,
                               parseHeaderFooter(prepared->sheet.pageSetup.header),
                               parseHeaderFooter(prepared->sheet.pageSetup.footer),
                               digitWidth * pointsPerPixel * paperColumnScale(defaultFont(workbook)), pictures,
                               headerFooter};
        values.sheetName = prepared->sheet.name;
        const size_t cellPages = prepared->pagination.pages.size();
        bool bookmarked = false;
        for (size_t page = 0; page < prepared->pageCount(); ++page) {
            ++position;
            if (position < from || position > to)
                continue;
            values.page = prepared->firstPageNumber + static_cast<int>(page);
            cairo_t* cr = file.beginPage(prepared->frame.pageWidth, prepared->frame.pageHeight);
            if (!std::exchange(bookmarked, true))
                file.bookmark(prepared->sheet.name);
            paintPage(cr, workbook, fonts, print, page < cellPages ? &prepared->pagination.pages[page] : nullptr, values);
            if (page < cellPages)
                for (const LinkArea& area : pageLinks(print, prepared->pagination.pages[page], linkTargets))
                    file.link(area);
            if (prepared->chartSheet)
                paintChartPage(cr, workbook, fonts, prepared->sheet, prepared->frame);
            else if (page >= cellPages)
                paintCommentPage(cr, prepared->sheet, defaultFont(workbook), prepared->frame,
                                 prepared->comments[page - cellPages]);
            file.endPage();
        }
    }
    file.commit();
}

}  // namespace kx::workbook
