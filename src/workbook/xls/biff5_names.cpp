#include <algorithm>

#include "workbook/xls/biff5_records.h"
#include "workbook/xls/record_writer.h"

namespace kx::workbook::detail::biff5 {

namespace {

constexpr uint16_t kBuiltinNameFlag = 0x0020;
constexpr uint16_t kLastOldRow = 0x3FFF;
constexpr uint16_t kNoSheet = 0xFFFF;  // past every entry of the sheet reference table

// The older form keeps the relative-reference marks in the top bits of the row and has 16384
// rows; the newer keeps them in the column. A reference to the last row means the whole column.
void writeRow(uint16_t stored, RecordWriter& writer)
{
    const uint16_t row = stored & kLastOldRow;
    writer.u16(row == kLastOldRow ? 0xFFFF : row);
}

uint16_t columnOf(uint16_t storedRow, uint8_t column)
{
    return static_cast<uint16_t>(column | (storedRow & 0xC000));
}

// A reference into this workbook names its sheet directly; the newer form names the entry of
// the sheet reference table, which the upgrade makes one per sheet in the same order. A
// reference to another workbook gets an entry the table does not have.
uint16_t sheetEntry(RecordReader& reader)
{
    const auto externalIndex = static_cast<int16_t>(reader.u16());
    reader.skip(8);
    const auto firstSheet = static_cast<int16_t>(reader.u16());
    reader.skip(2);  // last sheet
    return externalIndex < 0 && firstSheet >= 0 ? static_cast<uint16_t>(firstSheet) : kNoSheet;
}

void upgradeArea(RecordReader& reader, RecordWriter& writer)
{
    const uint16_t firstRow = reader.u16();
    const uint16_t lastRow = reader.u16();
    const uint8_t firstColumn = reader.u8();
    const uint8_t lastColumn = reader.u8();
    writeRow(firstRow, writer);
    writeRow(lastRow, writer);
    writer.u16(columnOf(firstRow, firstColumn)).u16(columnOf(lastRow, lastColumn));
}

void upgradeReference(RecordReader& reader, RecordWriter& writer)
{
    const uint16_t row = reader.u16();
    writeRow(row, writer);
    writer.u16(columnOf(row, reader.u8()));
}

// The tokens a list of areas is made of; the translation ends at the first other token, as the
// reading of such a list does.
bool upgradeToken(RecordReader& reader, RecordWriter& writer)
{
    const uint8_t token = reader.u8();
    const uint8_t base = (token & 0x60) ? static_cast<uint8_t>((token & 0x1F) | 0x20) : token;
    switch (base) {
    case 0x10:  // union
    case 0x15:  // parentheses
        writer.u8(token);
        return true;
    case 0x29:  // a sub-expression of references; its size is not used by the reading
        writer.u8(token).u16(reader.u16());
        return true;
    case 0x26:
    case 0x27:
    case 0x28:
        writer.u8(token);
        copyBytes(reader, 6, writer);
        return true;
    case 0x3B:
        writer.u8(token).u16(sheetEntry(reader));
        upgradeArea(reader, writer);
        return true;
    case 0x3A:
        writer.u8(token).u16(sheetEntry(reader));
        upgradeReference(reader, writer);
        return true;
    case 0x25:
        writer.u8(token);
        upgradeArea(reader, writer);
        return true;
    case 0x24:
        writer.u8(token);
        upgradeReference(reader, writer);
        return true;
    default:
        return false;
    }
}

Body upgradeFormula(RecordReader& reader, size_t size)
{
    RecordWriter writer;
    const size_t end = reader.remaining() - std::min(size, reader.remaining());
    while (reader.remaining() > end && upgradeToken(reader, writer)) {
    }
    return writer.body();
}

}  // namespace

Body upgradeChartLink(RecordReader& reader)
{
    RecordWriter writer;
    copyBytes(reader, 6, writer);  // which part of the series, kind of link, flags, number format
    const Body formula = upgradeFormula(reader, reader.u16());
    return writer.u16(static_cast<uint16_t>(formula.size())).bytes(formula).body();
}

Body upgradeName(RecordReader& reader, uint16_t codePage)
{
    const uint16_t flags = reader.u16();
    const uint8_t shortcut = reader.u8();
    const uint8_t nameLength = reader.u8();
    const uint16_t formulaSize = reader.u16();
    reader.skip(2);
    const uint16_t sheetNumber = reader.u16();
    reader.skip(4);  // lengths of menu, description, help and status texts
    const std::u16string name = readText(reader, nameLength, codePage);
    const Body formula = (flags & kBuiltinNameFlag) ? upgradeFormula(reader, formulaSize) : Body{};
    RecordWriter writer;
    writer.u16(flags).u8(shortcut).u8(static_cast<uint8_t>(name.size())).u16(static_cast<uint16_t>(formula.size()));
    writer.u16(0).u16(sheetNumber).u32(0).characters(name).bytes(formula);
    return writer.body();
}

}  // namespace kx::workbook::detail::biff5
