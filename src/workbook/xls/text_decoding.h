#pragma once
// The string layouts of the workbook stream, decoded to UTF-8.
#include <cstdint>
#include <string>

#include "workbook/model/model.h"
#include "workbook/model/unicode.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// Character count (one byte), option byte, characters.
std::string readShortString(RecordReader& reader);
// Character count (two bytes), option byte, characters.
std::string readString(RecordReader& reader);
// Option byte, then `count` characters.
std::string readCharacters(RecordReader& reader, size_t count);
// A shared-string-table entry: count, options, then optional format runs and phonetic data.
// Font indexes in the runs are left as stored.
RichText readRichString(RecordReader& reader);

// Drops format runs that start at or past the end of the text or do not follow the run before,
// so that every run covers a non-empty stretch of the text.
void keepUsableRuns(RichText& text);

}  // namespace kx::workbook::detail
