#pragma once
// A rectangle on the page in unscaled points, shared by placing and painting.

namespace kx::workbook {

struct Box {
    double x = 0, y = 0, width = 0, height = 0;
};

}  // namespace kx::workbook
