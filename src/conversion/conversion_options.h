#pragma once
// The print options a conversion reads while it works. The main window answers from its
// controls at the moment of each call; the command-line converter answers from its arguments.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kx::conversion {

// How a conversion makes the PDF: Ghostscript over the PostScript print (the desktop program's
// way), the engine printing PDF itself, or Ghostscript making an archival PDF/A-2b file.
enum class PdfRoute { Ghostscript, Direct, PdfA };

// Printing a sheet scaled to fit a number of pages; 0 tall means as many pages as needed.
struct PageFit {
    std::int16_t wide = 1;
    std::int16_t tall = 0;
    bool operator==(const PageFit&) const = default;
};

class ConversionOptions {
public:
    virtual ~ConversionOptions() = default;
    // The paper size as named in the options ("A4", "Legal", ...); other texts set no paper size.
    virtual std::string paperSizeText() const = 0;
    // The zoom percentage as a number, unrounded; the caller has checked it lies in 10..400.
    virtual double zoomPercent() const = 0;
    virtual bool landscape() const = 0;
    virtual bool printGridlines() const = 0;
    virtual bool printHeadings() const = 0;
    virtual bool allPages() const = 0;
    // First and last page of the range, as entered.
    virtual std::string fromPageText() const = 0;
    virtual std::string toPageText() const = 0;
    virtual bool openAfterConversion() const = 0;

    // Set-up the main window does not offer; its answers keep the window's behaviour.
    // Fitting to pages instead of the zoom; nothing to print at the zoom.
    virtual std::optional<PageFit> fitToPages() const { return std::nullopt; }
    // Whether the page set-up goes to every worksheet rather than to one.
    virtual bool setUpEveryWorksheet() const { return false; }
    // The sheets to print, by name or 1-based position among all sheets; empty: every sheet.
    virtual std::vector<std::string> sheetsToPrint() const { return {}; }
    // How the PDF is made; the main window always takes Ghostscript over the PostScript print.
    virtual PdfRoute pdfRoute() const { return PdfRoute::Ghostscript; }
};

}  // namespace kx::conversion
