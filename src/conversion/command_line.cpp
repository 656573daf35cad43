#include "conversion/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cctype>
#include <cmath>
#include <optional>

#include "workbook/model/model.h"

namespace kx::conversion {
namespace {

constexpr std::array<const char*, 6> kPaperNames{"A4", "Legal", "A5", "Letter", "B4", "B5"};
constexpr int kHighestPage = 999;  // the page boxes of the window take three digits
constexpr int kLongestTimeout = 24 * 60 * 60;
constexpr int kMostFitPages = 32767;

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

std::string paperName(const std::string& text)
{
    for (const char* name : kPaperNames) {
        if (sameIgnoringCase(text, name))
            return name;
    }
    throw UsageError("unknown paper size '" + text + "' (choose A4, Legal, A5, Letter, B4 or B5)");
}

std::optional<double> numberOf(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double zoomOf(const std::string& text)
{
    const auto zoom = numberOf(text);
    if (!zoom || *zoom < workbook::minimumZoom || *zoom > workbook::maximumZoom)
        throw UsageError("zoom '" + text + "' is not a number from 10 to 400");
    return *zoom;
}

int pageOf(const std::string& option, const std::string& text)
{
    if (const auto page = wholeNumberOf(text, 1, kHighestPage))
        return *page;
    throw UsageError(option + " needs a page number from 1 to " + std::to_string(kHighestPage) + ", not '" + text + "'");
}

std::chrono::seconds timeoutOf(const std::string& text)
{
    if (const auto seconds = wholeNumberOf(text, 1, kLongestTimeout))
        return std::chrono::seconds(*seconds);
    throw UsageError("--timeout needs whole seconds from 1 to " + std::to_string(kLongestTimeout) + ", not '" + text + "'");
}

// A count of pages for fitting: 0 means as many as needed.
std::int16_t fitPagesOf(const std::string& option, const std::string& text)
{
    if (const auto pages = wholeNumberOf(text, 0, kMostFitPages))
        return static_cast<std::int16_t>(*pages);
    throw UsageError(option + " needs page counts from 0 to " + std::to_string(kMostFitPages) + ", not '" + text + "'");
}

PageFit fitOf(const std::string& text)
{
    const auto cross = text.find_first_of("xX");
    if (cross == std::string::npos)
        throw UsageError("--fit needs PAGES_WIDExPAGES_TALL, such as 1x1, not '" + text + "'");
    return {fitPagesOf("--fit", text.substr(0, cross)), fitPagesOf("--fit", text.substr(cross + 1))};
}

std::vector<std::string> sheetListOf(const std::string& text)
{
    std::vector<std::string> sheets;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        sheets.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (sheets.back().empty())
            throw UsageError("--sheets needs sheet names or numbers separated by commas, not '" + text + "'");
        if (comma == std::string::npos)
            return sheets;
        start = comma + 1;
    }
}

class ArgumentCursor {
public:
    explicit ArgumentCursor(const std::vector<std::string>& arguments) : arguments_(arguments) {}
    bool atEnd() const { return next_ == arguments_.size(); }
    const std::string& take() { return arguments_[next_++]; }
    const std::string& valueOf(const std::string& option)
    {
        if (atEnd())
            throw UsageError(option + " needs a value");
        return take();
    }

private:
    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
};

}  // namespace

std::optional<int> wholeNumberOf(const std::string& text, int lowest, int highest)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < lowest || number > highest)
        return std::nullopt;
    return number;
}

ConversionArguments parseConversionArguments(const std::vector<std::string>& arguments)
{
    ConversionArguments parsed;
    OptionValues& options = parsed.options;
    options.route = PdfRoute::Direct;
    std::optional<int> from, to;
    bool zoomGiven = false;
    ArgumentCursor cursor(arguments);
    bool optionsEnded = false;
    while (!cursor.atEnd()) {
        const std::string& argument = cursor.take();
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-")
            parsed.paths.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (argument == "--help" || argument == "-h")
            parsed.helpWanted = true;
        else if (argument == "--version")
            parsed.versionWanted = true;
        else if (argument == "--verbose" || argument == "-v")
            parsed.verbose = true;
        else if (argument == "--paper")
            options.paperSize = paperName(cursor.valueOf(argument));
        else if (argument == "--landscape")
            options.landscape = true;
        else if (argument == "--portrait")
            options.landscape = false;
        else if (argument == "--zoom") {
            options.zoom = zoomOf(cursor.valueOf(argument));
            zoomGiven = true;
        } else if (argument == "--fit-width")
            options.fit = PageFit{fitPagesOf(argument, cursor.valueOf(argument)), 0};
        else if (argument == "--fit")
            options.fit = fitOf(cursor.valueOf(argument));
        else if (argument == "--all-sheets")
            options.allSheets = true;
        else if (argument == "--sheets")
            options.sheets = sheetListOf(cursor.valueOf(argument));
        else if (argument == "--gridlines")
            options.gridlines = true;
        else if (argument == "--no-gridlines")
            options.gridlines = false;
        else if (argument == "--headings")
            options.headings = true;
        else if (argument == "--ghostscript")
            options.route = PdfRoute::Ghostscript;
        else if (argument == "--pdfa")
            options.route = PdfRoute::PdfA;
        else if (argument == "--from")
            from = pageOf(argument, cursor.valueOf(argument));
        else if (argument == "--to")
            to = pageOf(argument, cursor.valueOf(argument));
        else if (argument == "--timeout")
            parsed.ghostscriptTimeout = timeoutOf(cursor.valueOf(argument));
        else
            throw UsageError("unknown option '" + argument + "'");
    }
    if (parsed.helpWanted || parsed.versionWanted)
        return parsed;
    if (zoomGiven && options.fit)
        throw UsageError("--zoom and fitting to pages exclude each other: give one of them");
    if (options.fit == PageFit{0, 0})
        throw UsageError("fitting to 0 pages wide and 0 pages tall fits to nothing");
    if (from.has_value() != to.has_value())
        throw UsageError("a page range needs both --from and --to");
    if (from) {
        if (*from > *to)
            throw UsageError("--from " + std::to_string(*from) + " comes after --to " + std::to_string(*to));
        options.allPages = false;
        options.fromPage = std::to_string(*from);
        options.toPage = std::to_string(*to);
    }
    return parsed;
}

}  // namespace kx::conversion
