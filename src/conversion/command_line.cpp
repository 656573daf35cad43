#include "conversion/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cctype>
#include <cmath>
#include <optional>

namespace kx::conversion {
namespace {

constexpr std::array<const char*, 6> kPaperNames{"A4", "Legal", "A5", "Letter", "B4", "B5"};
constexpr int kHighestPage = 999;  // the page boxes of the window take three digits

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
    if (!zoom || *zoom < 10 || *zoom > 400)
        throw UsageError("zoom '" + text + "' is not a number from 10 to 400");
    return *zoom;
}

int pageOf(const std::string& option, const std::string& text)
{
    int page = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), page);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || page < 1 || page > kHighestPage)
        throw UsageError(option + " needs a page number from 1 to " + std::to_string(kHighestPage) + ", not '" + text + "'");
    return page;
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

CommandLineRequest parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineRequest request;
    request.options.route = PdfRoute::Direct;
    std::vector<std::string> paths;
    std::optional<int> from, to;
    ArgumentCursor cursor(arguments);
    bool optionsEnded = false;
    while (!cursor.atEnd()) {
        const std::string& argument = cursor.take();
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-")
            paths.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (argument == "--help" || argument == "-h")
            request.helpWanted = true;
        else if (argument == "--paper")
            request.options.paperSize = paperName(cursor.valueOf(argument));
        else if (argument == "--landscape")
            request.options.landscape = true;
        else if (argument == "--portrait")
            request.options.landscape = false;
        else if (argument == "--zoom")
            request.options.zoom = zoomOf(cursor.valueOf(argument));
        else if (argument == "--gridlines")
            request.options.gridlines = true;
        else if (argument == "--no-gridlines")
            request.options.gridlines = false;
        else if (argument == "--headings")
            request.options.headings = true;
        else if (argument == "--ghostscript")
            request.options.route = PdfRoute::Ghostscript;
        else if (argument == "--pdfa")
            request.options.route = PdfRoute::PdfA;
        else if (argument == "--from")
            from = pageOf(argument, cursor.valueOf(argument));
        else if (argument == "--to")
            to = pageOf(argument, cursor.valueOf(argument));
        else
            throw UsageError("unknown option '" + argument + "'");
    }
    if (request.helpWanted)
        return request;
    if (paths.size() != 2)
        throw UsageError("expected SOURCE.xls and TARGET.pdf");
    if (from.has_value() != to.has_value())
        throw UsageError("a page range needs both --from and --to");
    if (from) {
        if (*from > *to)
            throw UsageError("--from " + std::to_string(*from) + " comes after --to " + std::to_string(*to));
        request.options.allPages = false;
        request.options.fromPage = std::to_string(*from);
        request.options.toPage = std::to_string(*to);
    }
    request.source = paths[0];
    request.target = paths[1];
    return request;
}

std::string commandLineHelp()
{
    return R"(Usage: korvendal-xl-convert [options] SOURCE.xls TARGET.pdf
Converts an Excel 97-2003 workbook to PDF, printing every visible sheet. The page set-up
options apply to the first worksheet; the other sheets keep their own.

Options:
  --paper NAME     paper size: A4 (default), Legal, A5, Letter, B4 or B5 (any letter case)
  --landscape      landscape orientation (default portrait; --portrait sets it back)
  --zoom N         zoom percentage from 10 to 400 (default 100)
  --gridlines      print gridlines (the default); --no-gridlines leaves them out
  --headings       print row and column headings
  --from N --to M  only pages N to M of the whole print (default all pages)
  --ghostscript    make the PDF as the desktop program does: print PostScript and have
                   Ghostscript turn it into PDF (about three times slower; for PDFs made as
                   the desktop program makes them, or a reader that has trouble with the
                   direct PDF). Without it the converter writes the PDF itself: the same
                   pages and text, Ghostscript not needed.
  --pdfa           make an archival PDF/A-2b file through Ghostscript (fonts embedded, sRGB
                   output intent); slowest. Choose it when an archive asks for PDF/A.
  --help           show this help

Every PDF has a bookmark per printed sheet, the workbook's hyperlinks as links, and its title,
subject, author and keywords (the file name as title when the workbook names none).

Messages go to standard output. The exit status is 0 when the PDF was written; otherwise it
is not 0, standard error holds one line saying why, and TARGET is left as it was.
)";
}

}  // namespace kx::conversion
