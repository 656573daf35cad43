#pragma once
// Conditional formats applied to the cells they cover, once every sheet is read.
#include "workbook/model/model.h"

namespace kx::workbook::detail {

// Gives every cell whose value meets a rule of a conditional format over it a format of its
// own: its format with the rule's changes. The first rule that holds applies; a rule that
// cannot be evaluated stops the rules after it, as whether it holds decides theirs.
void applyConditionalFormats(Workbook& workbook);

}  // namespace kx::workbook::detail
