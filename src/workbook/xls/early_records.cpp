#include "workbook/xls/early_records.h"

#include "workbook/xls/record_types.h"

namespace kx::workbook::detail::early {

namespace {

constexpr uint16_t kDefaultStyle = 0xFFF5;  // a cell format whose parent is the normal style
constexpr size_t kStyleFormats = 16;        // the style formats before the first cell format
constexpr size_t kMostCellFormats = 4000;

struct Xf {
    uint16_t font = 0;
    uint16_t format = kFirstFormatId;
    uint16_t kindAndProtection = kDefaultStyle;
    uint8_t alignment = 0x20;  // general, at the bottom
    uint8_t orientation = 0;
    uint8_t pattern = 0, foreground = 64, background = 65;
    uint8_t topStyle = 0, leftStyle = 0, bottomStyle = 0, rightStyle = 0;
    uint8_t topColor = 64, leftColor = 64, bottomColor = 64, rightColor = 64;
};

// Colours 24 and 25 of the older palettes are the window's text and background.
uint8_t colour(uint32_t stored)
{
    const auto index = static_cast<uint8_t>(stored & 0x1F);
    return index == 24 ? 64 : index == 25 ? 65 : index;
}

Body xfRecord(const Xf& xf)
{
    const uint32_t fill = xf.foreground | static_cast<uint32_t>(xf.background) << 7 |
                          static_cast<uint32_t>(xf.pattern) << 16 | static_cast<uint32_t>(xf.bottomStyle) << 22 |
                          static_cast<uint32_t>(xf.bottomColor) << 25;
    const uint32_t lines = xf.topStyle | xf.leftStyle << 3 | xf.rightStyle << 6 |
                           static_cast<uint32_t>(xf.topColor) << 9 | static_cast<uint32_t>(xf.leftColor) << 16 |
                           static_cast<uint32_t>(xf.rightColor) << 23;
    return RecordWriter().u16(xf.font).u16(xf.format).u16(xf.kindAndProtection).u8(xf.alignment)
        .u8(xf.orientation).u32(fill).u32(lines).body();
}

// Fill and borders as Excel 3.0 and 4.0 store them.
void readFillAndBorders(RecordReader& reader, Xf& xf)
{
    const uint16_t fill = reader.u16();
    const uint32_t borders = reader.u32();
    xf.pattern = fill & 0x3F;
    xf.foreground = colour(fill >> 6);
    xf.background = colour(fill >> 11);
    xf.topStyle = borders & 0x07;
    xf.topColor = colour(borders >> 3);
    xf.leftStyle = borders >> 8 & 0x07;
    xf.leftColor = colour(borders >> 11);
    xf.bottomStyle = borders >> 16 & 0x07;
    xf.bottomColor = colour(borders >> 19);
    xf.rightStyle = borders >> 24 & 0x07;
    xf.rightColor = colour(borders >> 27);
}

void copyCellPosition(RecordReader& reader, RecordWriter& writer)
{
    writer.u16(reader.u16()).u16(reader.u16());
}

// The result and the option flags, with the four bytes the later layout puts after them and an
// empty formula.
void copyFormulaResult(RecordReader& reader, RecordWriter& writer, size_t flagsSize)
{
    for (int i = 0; i < 8; ++i)
        writer.u8(reader.u8());
    writer.u16(flagsSize == 2 ? reader.u16() : reader.u8()).u32(0).u16(0);
}

}  // namespace

StoredFont readFont(RecordReader& reader, bool withColor)
{
    StoredFont font;
    font.height = reader.u16();
    font.attributes = reader.u16();
    if (withColor)
        font.color = reader.u16();
    const uint8_t length = reader.u8();
    for (uint8_t i = 0; i < length && !reader.atEnd(); ++i)
        font.name.push_back(static_cast<char>(reader.u8()));
    return font;
}

Body fontRecord(const StoredFont& font)
{
    const bool bold = font.attributes & 0x01, underline = font.attributes & 0x04;
    RecordWriter writer;
    writer.u16(font.height).u16(font.attributes & 0x0A).u16(font.color).u16(bold ? 700 : 400).u16(0);
    writer.u8(underline ? 1 : 0).u8(0).u8(0).u8(0).u8(static_cast<uint8_t>(font.name.size()));
    for (char byte : font.name)
        writer.u8(static_cast<uint8_t>(byte));
    return writer.body();
}

std::string readFormat(RecordReader& reader, bool withIndex)
{
    if (withIndex)
        reader.skip(2);
    std::string code;
    const uint8_t length = reader.u8();
    for (uint8_t i = 0; i < length && !reader.atEnd(); ++i)
        code.push_back(static_cast<char>(reader.u8()));
    return code;
}

Body formatRecord(uint16_t index, const std::string& code)
{
    RecordWriter writer;
    writer.u16(static_cast<uint16_t>(kFirstFormatId + index)).u8(static_cast<uint8_t>(code.size()));
    for (char byte : code)
        writer.u8(static_cast<uint8_t>(byte));
    return writer.body();
}

Body upgradeXf3(RecordReader& reader)
{
    Xf xf;
    xf.font = reader.u8();
    xf.format = static_cast<uint16_t>(kFirstFormatId + reader.u8());
    reader.skip(2);  // kind, protection and used attributes: nothing printed
    xf.alignment = static_cast<uint8_t>((reader.u16() & 0x0F) | 0x20);
    readFillAndBorders(reader, xf);
    return xfRecord(xf);
}

Body upgradeXf4(RecordReader& reader)
{
    Xf xf;
    xf.font = reader.u8();
    xf.format = static_cast<uint16_t>(kFirstFormatId + reader.u8());
    xf.kindAndProtection = reader.u16();
    const uint8_t alignment = reader.u8();
    xf.alignment = alignment & 0x3F;
    xf.orientation = alignment >> 6;
    reader.skip(1);  // used attributes
    readFillAndBorders(reader, xf);
    return xfRecord(xf);
}

// The later FORMULA keeps the result and option flags and adds four bytes; the formula itself
// is not needed for printing and is left out.
Body upgradeFormula(RecordReader& reader, size_t flagsSize)
{
    RecordWriter writer;
    copyCellPosition(reader, writer);
    writer.u16(reader.u16());  // cell format
    copyFormulaResult(reader, writer, flagsSize);
    return writer.body();
}

Body upgradeName(RecordReader& reader)
{
    RecordWriter writer;
    const uint16_t flags = reader.u16();
    const uint8_t shortcut = reader.u8();
    const uint8_t nameLength = reader.u8();
    const uint16_t formulaSize = reader.u16();
    writer.u16(flags).u8(shortcut).u8(nameLength).u16(formulaSize);
    writer.u16(0).u16(1).u32(0);  // no sheet reference table; the first sheet; no menu or help texts
    while (!reader.atEnd())
        writer.u8(reader.u8());  // the name and its formula, laid out alike
    return writer.body();
}

uint16_t CellAttributes::read(RecordReader& reader)
{
    const uint32_t key = reader.u8() | static_cast<uint32_t>(reader.u8()) << 8 | static_cast<uint32_t>(reader.u8()) << 16;
    // The cell format index and protection bits of the first byte change nothing printed.
    const auto known = formats_.find(key & 0xFFFF00);
    if (known != formats_.end())
        return known->second;
    if (formats_.size() >= kMostCellFormats)
        return static_cast<uint16_t>(kStyleFormats);  // past what the spreadsheet program allows: the first cell format
    return formats_.emplace(key & 0xFFFF00, static_cast<uint16_t>(kStyleFormats + formats_.size())).first->second;
}

std::vector<Body> CellAttributes::cellFormats() const
{
    std::vector<Body> records(kStyleFormats + formats_.size(), xfRecord(Xf{}));
    for (const auto& [key, index] : formats_) {
        Xf xf;
        const uint8_t formatAndFont = key >> 8 & 0xFF, layout = key >> 16 & 0xFF;
        xf.format = static_cast<uint16_t>(kFirstFormatId + (formatAndFont & 0x3F));
        xf.font = formatAndFont >> 6;
        xf.alignment = static_cast<uint8_t>((layout & 0x07) | 0x20);
        xf.leftStyle = layout & 0x08 ? 1 : 0;
        xf.rightStyle = layout & 0x10 ? 1 : 0;
        xf.topStyle = layout & 0x20 ? 1 : 0;
        xf.bottomStyle = layout & 0x40 ? 1 : 0;
        xf.pattern = layout & 0x80 ? 4 : 0;  // shaded: a light grey pattern
        records[index] = xfRecord(xf);
    }
    return records;
}

bool upgradeBiff2Record(const Record& record, CellAttributes& attributes, uint16_t& type, Body& body)
{
    RecordReader reader(record);
    RecordWriter writer;
    auto cellStart = [&] {
        copyCellPosition(reader, writer);
        writer.u16(attributes.read(reader));
    };
    switch (record.type) {
    case 0x0001:  // BLANK
        cellStart();
        type = record_type::Blank;
        break;
    case 0x0002:  // INTEGER
        cellStart();
        writer.f64(reader.u16());
        type = record_type::Number;
        break;
    case 0x0003:  // NUMBER
        cellStart();
        for (int i = 0; i < 8; ++i)
            writer.u8(reader.u8());
        type = record_type::Number;
        break;
    case 0x0004:  // LABEL
        cellStart();
        writer.u16(reader.u8());
        while (!reader.atEnd())
            writer.u8(reader.u8());
        type = record_type::Label;
        break;
    case 0x0005:  // BOOLERR
        cellStart();
        writer.u8(reader.u8()).u8(reader.u8());
        type = record_type::BoolErr;
        break;
    case 0x0006:  // FORMULA
        cellStart();
        copyFormulaResult(reader, writer, 1);
        type = record_type::Formula;
        break;
    case 0x0007:  // STRING
        writer.u16(reader.u8());
        while (!reader.atEnd())
            writer.u8(reader.u8());
        type = record_type::String;
        break;
    case 0x0008: {  // ROW
        const uint16_t row = reader.u16(), first = reader.u16(), last = reader.u16(), height = reader.u16();
        const bool standard = height & 0x8000;
        writer.u16(row).u16(first).u16(last).u16(height & 0x7FFF).u16(0).u16(0).u32(standard ? 0x0100 : 0x0140);
        type = record_type::Row;
        break;
    }
    case 0x0024: {  // COLWIDTH
        const uint8_t first = reader.u8(), last = reader.u8();
        writer.u16(first).u16(last).u16(reader.u16()).u16(15).u16(0).u16(0);
        type = record_type::ColInfo;
        break;
    }
    case 0x0025:  // DEFAULTROWHEIGHT
        writer.u16(0).u16(reader.u16() & 0x7FFF);
        type = record_type::DefaultRowHeight;
        break;
    default:
        return false;
    }
    body = writer.body();
    return true;
}

}  // namespace kx::workbook::detail::early
