#include "workbook/layout/page_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kx::workbook {
namespace {

constexpr double pointsPerInch = 72.0;
constexpr double pointsPerMillimetre = 72.0 / 25.4;

constexpr PaperDimensions inches(double width, double height)
{
    return {width * pointsPerInch, height * pointsPerInch};
}

constexpr PaperDimensions millimetres(double width, double height)
{
    return {width * pointsPerMillimetre, height * pointsPerMillimetre};
}

// Indexed by paper code; entry 0 is unused.
constexpr std::array<PaperDimensions, 42> papers{{
    {},
    inches(8.5, 11),         // 1 Letter
    inches(8.5, 11),         // 2 Letter small
    inches(11, 17),          // 3 Tabloid
    inches(17, 11),          // 4 Ledger
    inches(8.5, 14),         // 5 Legal
    inches(5.5, 8.5),        // 6 Statement
    inches(7.25, 10.5),      // 7 Executive
    millimetres(297, 420),   // 8 A3
    millimetres(210, 297),   // 9 A4
    millimetres(210, 297),   // 10 A4 small
    millimetres(148, 210),   // 11 A5
    millimetres(257, 364),   // 12 B4 (JIS)
    millimetres(182, 257),   // 13 B5 (JIS)
    inches(8.5, 13),         // 14 Folio
    millimetres(215, 275),   // 15 Quarto
    inches(10, 14),          // 16
    inches(11, 17),          // 17
    inches(8.5, 11),         // 18 Note
    inches(3.875, 8.875),    // 19 Envelope #9
    inches(4.125, 9.5),      // 20 Envelope #10
    inches(4.5, 10.375),     // 21 Envelope #11
    inches(4.75, 11),        // 22 Envelope #12
    inches(5, 11.5),         // 23 Envelope #14
    inches(17, 22),          // 24 C sheet
    inches(22, 34),          // 25 D sheet
    inches(34, 44),          // 26 E sheet
    millimetres(110, 220),   // 27 Envelope DL
    millimetres(162, 229),   // 28 Envelope C5
    millimetres(324, 458),   // 29 Envelope C3
    millimetres(229, 324),   // 30 Envelope C4
    millimetres(114, 162),   // 31 Envelope C6
    millimetres(114, 229),   // 32 Envelope C65
    millimetres(250, 353),   // 33 Envelope B4
    millimetres(176, 250),   // 34 Envelope B5
    millimetres(176, 125),   // 35 Envelope B6
    millimetres(110, 230),   // 36 Envelope Italy
    inches(3.875, 7.5),      // 37 Envelope Monarch
    inches(3.625, 6.5),      // 38 Envelope 6 3/4
    inches(14.875, 11),      // 39 US standard fanfold
    inches(8.5, 12),         // 40 German standard fanfold
    inches(8.5, 13),         // 41 German legal fanfold
}};

constexpr uint16_t a4 = 9;
constexpr double minimumContent = pointsPerInch;

// Shrinks two opposite margins in proportion when they leave less than the minimum between them.
double finiteOrZero(double value)
{
    return std::isfinite(value) ? std::max(value, 0.0) : 0.0;
}

void fitMargins(double paperLength, double& first, double& second)
{
    first = finiteOrZero(first);
    second = finiteOrZero(second);
    const double room = std::max(paperLength - minimumContent, 0.0);
    if (first + second > room) {
        const double shrink = room / (first + second);
        first *= shrink;
        second *= shrink;
    }
}

}  // namespace

PaperDimensions paperDimensions(uint16_t paperCode)
{
    return paperCode > 0 && paperCode < papers.size() ? papers[paperCode] : papers[a4];
}

PageFrame pageFrame(const PageSetup& setup)
{
    PaperDimensions paper = paperDimensions(setup.paperSize);
    if (setup.landscape != (paper.width > paper.height))
        std::swap(paper.width, paper.height);

    double left = setup.leftMargin * pointsPerInch, right = setup.rightMargin * pointsPerInch;
    double top = setup.topMargin * pointsPerInch, bottom = setup.bottomMargin * pointsPerInch;
    fitMargins(paper.width, left, right);
    fitMargins(paper.height, top, bottom);

    PageFrame frame;
    frame.pageWidth = paper.width;
    frame.pageHeight = paper.height;
    frame.left = left;
    frame.top = top;
    frame.contentWidth = paper.width - left - right;
    frame.contentHeight = paper.height - top - bottom;
    frame.headerTop = std::min(finiteOrZero(setup.headerMargin * pointsPerInch), paper.height / 2);
    frame.footerBottom = paper.height - std::min(finiteOrZero(setup.footerMargin * pointsPerInch), paper.height / 2);
    return frame;
}

}  // namespace kx::workbook
