#pragma once
// The records of Excel 2.1 to 4.0 worksheets that Excel 5.0/95 lays out otherwise, rewritten in
// the later layout. Colours, fonts and number formats keep their indexes; number formats are
// numbered after the built-in ones, as the file lists its own codes.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "workbook/xls/record_stream.h"
#include "workbook/xls/record_writer.h"

namespace kx::workbook::detail::early {

using Body = std::vector<std::byte>;

inline constexpr uint16_t kFirstFormatId = 164;

struct StoredFont {
    uint16_t height = 200;
    uint16_t attributes = 0;  // bold, italic, underline, strikeout in bits 0-3
    uint16_t color = 0x7FFF;
    std::string name;  // in the code page
};

StoredFont readFont(RecordReader& reader, bool withColor);
Body fontRecord(const StoredFont& font);
// A number format code, after the two bytes Excel 4.0 puts before it.
std::string readFormat(RecordReader& reader, bool withIndex);
Body formatRecord(uint16_t index, const std::string& code);
Body upgradeXf3(RecordReader& reader);
Body upgradeXf4(RecordReader& reader);
Body upgradeFormula(RecordReader& reader, size_t flagsSize);
// A name of Excel 3.0 or 4.0, which has no sheet of its own: the print area and print titles
// become names of the one sheet.
Body upgradeName(RecordReader& reader);

// Excel 2.1 stores each cell's format in three bytes of its own record; the later layouts name
// a cell format. Each distinct set of bytes gets a cell format of its own.
class CellAttributes {
public:
    // The cell format index for the three bytes that follow the row and column.
    uint16_t read(RecordReader& reader);
    std::vector<Body> cellFormats() const;

private:
    std::map<uint32_t, uint16_t> formats_;
};

// The Excel 2.1 records whose later form differs; false for any other record.
bool upgradeBiff2Record(const Record& record, CellAttributes& attributes, uint16_t& type, Body& body);

}  // namespace kx::workbook::detail::early
