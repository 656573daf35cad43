#include "print_test_support.h"

#include "workbook/print/print.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace kx::workbook::testing {
namespace {

std::string quoted(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}

// The standard output of a shell command; tests build these commands from their own paths only.
std::string commandOutput(const std::string& command, int* exitStatus = nullptr)
{
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer;
    size_t read;
    while (pipe && (read = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        output.append(buffer.data(), read);
    const int status = pipe ? pclose(pipe.release()) : -1;
    if (exitStatus)
        *exitStatus = status;
    return output;
}

}  // namespace

std::filesystem::path printToPdf(const Workbook& workbook, const ScratchFolder& folder, const std::string& name)
{
    const auto postScript = folder.path(name + ".ps");
    printWorkbook(workbook, {.outputPath = postScript.string()});
    const auto pdf = folder.path(name + ".pdf");
    convertToPdf(postScript, pdf);
    return pdf;
}

void expectBox(const Box& actual, const Box& expected, const std::string& what)
{
    EXPECT_DOUBLE_EQ(actual.x, expected.x) << what;
    EXPECT_DOUBLE_EQ(actual.y, expected.y) << what;
    EXPECT_DOUBLE_EQ(actual.width, expected.width) << what;
    EXPECT_DOUBLE_EQ(actual.height, expected.height) << what;
}

std::filesystem::path corpusFolder()
{
    const char* overridden = std::getenv("KX_CORPUS_DIR");
    return overridden ? overridden : KX_CORPUS_DIR;
}

Workbook workbookWithSheet(const std::string& sheetName)
{
    Workbook workbook;
    workbook.fonts.push_back(Font{});
    workbook.formats.push_back(CellFormat{});
    workbook.sheets.push_back(Sheet{.name = sheetName});
    return workbook;
}

static Cell& placeCell(Sheet& sheet, uint32_t rowIndex, uint16_t column)
{
    auto row = std::lower_bound(sheet.rows.begin(), sheet.rows.end(), rowIndex,
                                [](const Row& r, uint32_t i) { return r.index < i; });
    if (row == sheet.rows.end() || row->index != rowIndex)
        row = sheet.rows.insert(row, Row{.index = rowIndex});
    auto cell = std::lower_bound(row->cells.begin(), row->cells.end(), column,
                                 [](const Cell& c, uint16_t i) { return c.column < i; });
    if (cell == row->cells.end() || cell->column != column)
        cell = row->cells.insert(cell, Cell{.column = column});
    return *cell;
}

void setText(Workbook& workbook, Sheet& sheet, uint32_t row, uint16_t column, const std::string& text, uint16_t format)
{
    Cell& cell = placeCell(sheet, row, column);
    cell.kind = CellKind::Text;
    cell.format = format;
    cell.text = static_cast<uint32_t>(workbook.strings.size());
    workbook.strings.push_back({text, {}});
}

void setNumber(Sheet& sheet, uint32_t row, uint16_t column, double value, uint16_t format)
{
    Cell& cell = placeCell(sheet, row, column);
    cell.kind = CellKind::Number;
    cell.format = format;
    cell.number = value;
}

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kx-print-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch folder");
    folder_ = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool convertToPdf(const std::filesystem::path& postScript, const std::filesystem::path& pdf)
{
    int status = 0;
    commandOutput("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile=" + quoted(pdf) + " " +
                      quoted(postScript) + " 2>&1",
                  &status);
    return status == 0 && std::filesystem::exists(pdf);
}

std::vector<uint8_t> renderedPixels(const std::filesystem::path& postScript, int width, int height)
{
    int status = 0;
    const std::string image =
        commandOutput("gs -q -dNOPAUSE -dBATCH -dSAFER -dNOINTERPOLATE -sDEVICE=ppmraw -r72 -dFIXEDMEDIA -g" +
                          std::to_string(width) + "x" + std::to_string(height) + " -sOutputFile=- " + quoted(postScript),
                      &status);
    // "P6", width, height and largest value, each after optional comment lines, then the bytes.
    size_t at = 0;
    for (int field = 0; field < 4 && at < image.size(); ++field) {
        while (at < image.size() && (std::isspace(static_cast<unsigned char>(image[at])) || image[at] == '#'))
            at = image[at] == '#' ? image.find('\n', at) : at + 1;
        at = image.find_first_of(" \t\r\n", at);
    }
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    if (status != 0 || at == std::string::npos || image.size() - at - 1 != size)
        return {};
    return {image.end() - static_cast<std::ptrdiff_t>(size), image.end()};
}

int pdfPageCount(const std::filesystem::path& pdf)
{
    const std::string info = commandOutput("pdfinfo " + quoted(pdf) + " 2>/dev/null");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

std::string pdfText(const std::filesystem::path& pdf, int page)
{
    const std::string range = page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
    return commandOutput("pdftotext -layout" + range + " " + quoted(pdf) + " - 2>/dev/null");
}

std::optional<std::pair<double, double>> pdfWordPosition(const std::filesystem::path& pdf, const std::string& word)
{
    const std::string boxes = commandOutput("pdftotext -bbox " + quoted(pdf) + " - 2>/dev/null");
    const size_t end = boxes.find(">" + word + "</word>");
    const size_t start = boxes.rfind("<word", end);
    if (end == std::string::npos || start == std::string::npos)
        return std::nullopt;
    const std::string tag = boxes.substr(start, end - start);
    const auto attribute = [&](const std::string& name) {
        const size_t at = tag.find(name + "=\"");
        return at == std::string::npos ? -1.0 : std::atof(tag.c_str() + at + name.size() + 2);
    };
    return std::make_pair(attribute("xMin"), attribute("yMin"));
}

std::string pdfToolOutput(const std::string& tool, const std::filesystem::path& pdf)
{
    return commandOutput(tool + " " + quoted(pdf) + " 2>/dev/null");
}

int pdfImageCount(const std::filesystem::path& pdf)
{
    const std::string list = commandOutput("pdfimages -list " + quoted(pdf) + " 2>/dev/null");
    int lines = 0;
    for (char c : list)
        lines += c == '\n';
    return std::max(0, lines - 2);  // two heading lines
}

std::string pdfPageSize(const std::filesystem::path& pdf)
{
    const std::string info = commandOutput("pdfinfo " + quoted(pdf) + " 2>/dev/null");
    const size_t at = info.find("Page size:");
    return at == std::string::npos ? "" : info.substr(at + 10, info.find('\n', at) - at - 10);
}

int pdfPageRotation(const std::filesystem::path& pdf, int page)
{
    const std::string number = std::to_string(page);
    const std::string info =
        commandOutput("pdfinfo -f " + number + " -l " + number + " " + quoted(pdf) + " 2>/dev/null");
    const size_t at = info.find("rot:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 4);
}

double pdfInk(const std::filesystem::path& pdf, int page)
{
    const std::string pgm = commandOutput("pdftoppm -gray -r 50 -f " + std::to_string(page) + " -l " +
                                          std::to_string(page) + " " + quoted(pdf) + " 2>/dev/null");
    // Binary PGM: "P5", width, height, maximum value, one blank, then one byte a pixel.
    std::istringstream header(pgm);
    std::string magic;
    size_t width = 0, height = 0, maximum = 0;
    header >> magic >> width >> height >> maximum;
    const auto start = static_cast<size_t>(header.tellg()) + 1;
    if (magic != "P5" || !header || start + width * height > pgm.size() || width * height == 0)
        return -1;
    const auto dark = std::count_if(pgm.begin() + static_cast<long>(start), pgm.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 128; });
    return static_cast<double>(dark) / static_cast<double>(width * height);
}

}  // namespace kx::workbook::testing
