#pragma once
// The workbook's picture store: the pictures that the drawings of every sheet name by number.
#include <vector>

#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// The pictures of the drawing group data (the MSODRAWINGGROUP records joined), in store order,
// so that picture number n of a drawing is entry n - 1. An entry this program cannot draw or
// cannot make sense of stays in its place as an unsupported picture; nothing here throws.
std::vector<Picture> readPictureStore(Bytes drawingGroup);

}  // namespace kx::workbook::detail
