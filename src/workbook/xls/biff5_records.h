#pragma once
// Excel 5.0/95 records rewritten in the Excel 97-2003 layout that the record readers know. The
// two differ mostly in their texts: one byte a character in the workbook's code page, without
// an option byte. Each function reads the old body and returns the new one.
#include <cstdint>
#include <vector>

#include "workbook/xls/record_stream.h"
#include "workbook/xls/record_writer.h"

namespace kx::workbook::detail::biff5 {

using Body = std::vector<std::byte>;

// Version, kind of substream, build and year; the newer form adds history and lowest version.
Body upgradeBof(RecordReader& reader);
Body upgradeFont(RecordReader& reader, uint16_t codePage);
Body upgradeFormat(RecordReader& reader, uint16_t codePage);
Body upgradeXf(RecordReader& reader);
// The sheet's stream offset is written as stored; the caller moves it to where the sheet lands.
Body upgradeBoundSheet(RecordReader& reader, uint16_t codePage);
Body upgradeLabel(RecordReader& reader, uint16_t codePage);
Body upgradeRString(RecordReader& reader, uint16_t codePage);
Body upgradeString(RecordReader& reader, uint16_t codePage);
Body upgradeHeaderFooter(RecordReader& reader, uint16_t codePage);
// `lastAcross` is the last row or column the break spans, which the older form leaves out.
Body upgradePageBreaks(RecordReader& reader, uint16_t lastAcross);
// Built-in names keep their formula, with the sheet references in the newer form; other names
// keep only their name, which is all the reader takes from them.
Body upgradeName(RecordReader& reader, uint16_t codePage);

// A chart's texts and the links of its series to cells, whose references take the newer form.
Body upgradeSeriesText(RecordReader& reader, uint16_t codePage);
Body upgradeChartLink(RecordReader& reader);

// Copies `count` bytes that the two layouts share.
void copyBytes(RecordReader& reader, size_t count, RecordWriter& writer);

// The characters of an 8-bit text of `count` bytes (fewer when the record ends first).
std::u16string readText(RecordReader& reader, size_t count, uint16_t codePage);

}  // namespace kx::workbook::detail::biff5
