#pragma once
// Where things go on a printed page: paper size, orientation and margins, in points (1/72 inch).
#include <cstdint>

#include "workbook/model/model.h"

namespace kx::workbook {

struct PaperDimensions {
    double width = 0, height = 0;  // portrait
    bool operator==(const PaperDimensions&) const = default;
};

// The sheet of paper for a spreadsheet paper code; codes this engine does not know print on A4.
PaperDimensions paperDimensions(uint16_t paperCode);

struct PageFrame {
    double pageWidth = 0, pageHeight = 0;  // orientation applied
    double left = 0, top = 0;              // top-left corner of the area between the margins
    double contentWidth = 0, contentHeight = 0;
    double headerTop = 0;                  // the header's first line starts here
    double footerBottom = 0;               // the footer's last line ends here
};

// Margins that would leave less than an inch of paper are shrunk so that something always prints.
PageFrame pageFrame(const PageSetup& setup);

}  // namespace kx::workbook
