#pragma once
// The records of conditional formats: a header naming the ranges, then one record per rule.
#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

void readConditionalHeader(RecordReader& reader, Sheet& sheet);
// Adds the rule to the conditional format of the header before it.
void readConditionalRule(RecordReader& reader, Sheet& sheet);

}  // namespace kx::workbook::detail
