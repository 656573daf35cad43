#include "conversion/automation_page_setup.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace kx::conversion::automation {
namespace {

// Compared in this order; the first equal name wins.
constexpr std::array<std::pair<std::string_view, std::int32_t>, 6> kPaperSizes{{
    {"Legal", 5}, {"A4", 9}, {"A5", 11}, {"Letter", 1}, {"B4", 12}, {"B5", 13},
}};

void fitToPages(Worksheet& worksheet, const PageFit& fit)
{
    worksheet.setPageSetupProperty(PageSetupProperty::Zoom, false);
    worksheet.setPageSetupProperty(PageSetupProperty::FitToPagesWide, fit.wide);
    worksheet.setPageSetupProperty(PageSetupProperty::FitToPagesTall, fit.tall);
}

// The 0-based index of the sheet `entry` names: a name first, so that a sheet called "2" is found
// by its name; then a position.
std::size_t sheetIndexOf(const std::vector<std::string>& names, const std::string& entry)
{
    const auto named = std::find(names.begin(), names.end(), entry);
    if (named != names.end())
        return static_cast<std::size_t>(named - names.begin());
    std::size_t position = 0;
    const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), position);
    if (entry.empty() || error != std::errc() || end != entry.data() + entry.size() || position < 1
        || position > names.size())
        throw Failure(kSubscriptOutOfRange, "The workbook has no sheet \"" + entry + "\"");
    return position - 1;
}

}  // namespace

std::optional<std::int32_t> paperSizeCode(std::string_view paperName)
{
    for (const auto& [name, code] : kPaperSizes) {
        if (name == paperName)
            return code;
    }
    return std::nullopt;
}

std::int16_t zoomValue(double percent)
{
    // nearbyint follows the default rounding mode, which rounds halves to even.
    const double whole = std::nearbyint(percent);
    if (!(whole >= std::numeric_limits<std::int16_t>::min() && whole <= std::numeric_limits<std::int16_t>::max()))
        throw Failure(kOverflow, "Overflow");
    return static_cast<std::int16_t>(whole);
}

std::int32_t orientationCode(bool landscape)
{
    return landscape ? kLandscape : kPortrait;
}

int pageNumberFromText(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    double value = 0;
    const char* begin = first == std::string::npos ? text.data() : text.data() + first;
    const char* end = first == std::string::npos ? begin : text.data() + last + 1;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || stop != end || !std::isfinite(value))
        throw Failure(kTypeMismatch, "Type mismatch");
    const double page = std::nearbyint(value);
    if (page < 1 || page > std::numeric_limits<std::int16_t>::max())
        throw Failure(kMethodFailed, "PrintOut method of Workbook class failed: no page " + text);
    return static_cast<int>(page);
}

void applyPageSetup(Worksheet& worksheet, const ConversionOptions& options)
{
    worksheet.setPageSetupProperty(PageSetupProperty::PrintComments, kCommentsInPlace);
    worksheet.setPageSetupProperty(PageSetupProperty::PrintGridlines, options.printGridlines());
    if (const auto code = paperSizeCode(options.paperSizeText()))
        worksheet.setPageSetupProperty(PageSetupProperty::PaperSize, *code);
    worksheet.setPageSetupProperty(PageSetupProperty::Zoom, zoomValue(options.zoomPercent()));
    if (const auto fit = options.fitToPages())
        fitToPages(worksheet, *fit);
    worksheet.setPageSetupProperty(PageSetupProperty::Orientation, orientationCode(options.landscape()));
    worksheet.setPageSetupProperty(PageSetupProperty::PrintHeadings, options.printHeadings());
    worksheet.setPageSetupProperty(PageSetupProperty::PrintNotes, true);
    worksheet.setPageSetupProperty(PageSetupProperty::PrintArea, std::string());
}

void setUpWorkbook(Workbook& workbook, Worksheet& worksheet, const ConversionOptions& options)
{
    if (!options.setUpEveryWorksheet()) {
        applyPageSetup(worksheet, options);
    } else {
        for (std::int16_t number = 1, count = workbook.worksheetCount(); number <= count; ++number)
            applyPageSetup(workbook.worksheet(number), options);
    }
    showOnlySheets(workbook, options.sheetsToPrint());
}

void showOnlySheets(Workbook& workbook, const std::vector<std::string>& wanted)
{
    if (wanted.empty())
        return;
    const std::vector<std::string> names = workbook.sheetNames();
    std::vector<bool> shown(names.size(), false);
    for (const std::string& entry : wanted)
        shown[sheetIndexOf(names, entry)] = true;
    for (std::size_t index = 0; index < names.size(); ++index)
        workbook.setSheetVisible(static_cast<std::int16_t>(index + 1), shown[index]);
}

PrintOutArguments conversionPrintOut(const ConversionOptions& options, const std::string& printFile)
{
    PrintOutArguments arguments;
    if (!options.allPages()) {
        arguments.from = options.fromPageText();
        arguments.to = options.toPageText();
    }
    arguments.activePrinter = kConversionPrinter;
    arguments.printToFileName = printFile;
    return arguments;
}

}  // namespace kx::conversion::automation
