#pragma once
// Options held as plain values, for callers that know them all beforehand (the command-line
// converter). The defaults are the main window's initial options.
#include <string>

#include "conversion/conversion_options.h"

namespace kx::conversion {

struct OptionValues {
    std::string paperSize = "A4";
    double zoom = 100;
    bool landscape = false;
    bool gridlines = true;
    bool headings = false;
    bool allPages = true;
    std::string fromPage = "1";
    std::string toPage = "2";
    bool openAfterConversion = false;
    std::optional<PageFit> fit;
    bool allSheets = false;
    std::vector<std::string> sheets;
    PdfRoute route = PdfRoute::Ghostscript;
};

class FixedOptions final : public ConversionOptions {
public:
    FixedOptions() = default;
    explicit FixedOptions(OptionValues initial) : values(std::move(initial)) {}

    std::string paperSizeText() const override { return values.paperSize; }
    double zoomPercent() const override { return values.zoom; }
    bool landscape() const override { return values.landscape; }
    bool printGridlines() const override { return values.gridlines; }
    bool printHeadings() const override { return values.headings; }
    bool allPages() const override { return values.allPages; }
    std::string fromPageText() const override { return values.fromPage; }
    std::string toPageText() const override { return values.toPage; }
    bool openAfterConversion() const override { return values.openAfterConversion; }
    std::optional<PageFit> fitToPages() const override { return values.fit; }
    bool setUpEveryWorksheet() const override { return values.allSheets; }
    std::vector<std::string> sheetsToPrint() const override { return values.sheets; }
    PdfRoute pdfRoute() const override { return values.route; }

    OptionValues values;
};

}  // namespace kx::conversion
