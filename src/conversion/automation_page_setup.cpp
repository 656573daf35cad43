#include "conversion/automation_page_setup.h"

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
    worksheet.setPageSetupProperty(PageSetupProperty::Orientation, orientationCode(options.landscape()));
    worksheet.setPageSetupProperty(PageSetupProperty::PrintHeadings, options.printHeadings());
    worksheet.setPageSetupProperty(PageSetupProperty::PrintNotes, true);
    worksheet.setPageSetupProperty(PageSetupProperty::PrintArea, std::string());
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
