#pragma once
// Building small workbooks in code and looking into what the print engine makes of them.
#include <filesystem>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "workbook/model/geometry.h"
#include "workbook/model/model.h"

namespace kx::workbook::testing {

// A workbook with one visible sheet and the default font and format.
Workbook workbookWithSheet(const std::string& sheetName = "Sheet1");

// Puts a text or number into a sheet, keeping rows and cells in order.
void setText(Workbook& workbook, Sheet& sheet, uint32_t row, uint16_t column, const std::string& text,
             uint16_t format = 0);
void setNumber(Sheet& sheet, uint32_t row, uint16_t column, double value, uint16_t format = 0);

// Fails the running test, naming what, where the boxes differ.
void expectBox(const Box& actual, const Box& expected, const std::string& what);

// The corpus of real workbooks: KX_CORPUS_DIR from the environment, else the one the build names.
std::filesystem::path corpusFolder();

// A fresh folder under the system's temporary folder, removed with its contents on destruction.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::filesystem::path path(const std::string& name) const { return folder_ / name; }

private:
    std::filesystem::path folder_;
};

// Prints the workbook with the default job into the folder and turns it into NAME.pdf there.
std::filesystem::path printToPdf(const Workbook& workbook, const ScratchFolder& folder, const std::string& name = "print");

// Ghostscript's pdfwrite over a PostScript file; true when it produced the PDF.
bool convertToPdf(const std::filesystem::path& postScript, const std::filesystem::path& pdf);
int pdfPageCount(const std::filesystem::path& pdf);
// The text of one page (1-based) or, with page 0, of the whole document, in reading order.
std::string pdfText(const std::filesystem::path& pdf, int page = 0);
// Where a word first appears: the top-left corner of its box in points from the page's top-left.
std::optional<std::pair<double, double>> pdfWordPosition(const std::filesystem::path& pdf, const std::string& word);
// pdfinfo's "Page size" line, such as "595.28 x 841.89 pts (A4)".
std::string pdfPageSize(const std::filesystem::path& pdf);
// The turn a viewer gives a page (1-based), in degrees, or -1 when pdfinfo does not say.
int pdfPageRotation(const std::filesystem::path& pdf, int page = 1);
// What a poppler tool ("pdfinfo -url", "pdftohtml -xml -stdout -i -q") prints about a PDF.
std::string pdfToolOutput(const std::string& tool, const std::filesystem::path& pdf);
// The images in a PDF, as pdfimages lists them.
int pdfImageCount(const std::filesystem::path& pdf);
// Ghostscript's rendering of a one-page PostScript file on a page of the given size in points at
// 72 dpi, without smoothing of images: RGB bytes row by row from the top; empty when it failed.
std::vector<uint8_t> renderedPixels(const std::filesystem::path& postScript, int width, int height);
// The share of dark pixels on a page rendered in grey at a low resolution.
double pdfInk(const std::filesystem::path& pdf, int page = 1);

}  // namespace kx::workbook::testing
