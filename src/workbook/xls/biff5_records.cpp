#include "workbook/xls/biff5_records.h"

#include <algorithm>

#include "workbook/xls/code_page.h"
#include "workbook/xls/record_writer.h"

namespace kx::workbook::detail::biff5 {

namespace {

constexpr uint16_t kBiff8 = 0x0600;

std::string readBytes(RecordReader& reader, size_t count)
{
    std::string bytes(std::min(count, reader.remaining()), '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(reader.u8());
    return bytes;
}

// The row, column and cell format that start every cell record.
void copyCellHeader(RecordReader& reader, RecordWriter& writer)
{
    copyBytes(reader, 6, writer);
}

// Text orientation as two bits (none, stacked, 90 degrees up, 90 degrees down) becomes an angle,
// with 255 for stacked letters.
uint8_t rotationOf(uint8_t orientation)
{
    static constexpr uint8_t angles[4] = {0, 255, 90, 180};
    return angles[orientation & 0x03];
}

}  // namespace

void copyBytes(RecordReader& reader, size_t count, RecordWriter& writer)
{
    for (size_t i = 0; i < count; ++i)
        writer.u8(reader.u8());
}

std::u16string readText(RecordReader& reader, size_t count, uint16_t codePage)
{
    return decodeCodePage(readBytes(reader, count), codePage);
}

Body upgradeBof(RecordReader& reader)
{
    reader.skip(std::min<size_t>(2, reader.remaining()));  // the version this record replaces
    const uint16_t kind = reader.remaining() >= 2 ? reader.u16() : 0x0010;
    const uint16_t build = reader.remaining() >= 2 ? reader.u16() : 0;
    const uint16_t year = reader.remaining() >= 2 ? reader.u16() : 0;
    return RecordWriter().u16(kBiff8).u16(kind).u16(build).u16(year).u32(0).u32(kBiff8).body();
}

Body upgradeFont(RecordReader& reader, uint16_t codePage)
{
    RecordWriter writer;
    copyBytes(reader, 14, writer);  // height, attributes, colour, weight, script, underline, family, set
    return writer.shortString(readText(reader, reader.u8(), codePage)).body();
}

Body upgradeFormat(RecordReader& reader, uint16_t codePage)
{
    RecordWriter writer;
    writer.u16(reader.u16());
    return writer.string(readText(reader, reader.u8(), codePage)).body();
}

// The older cell format packs the bottom border into the fill word and has three bits a line
// style where the newer has four.
Body upgradeXf(RecordReader& reader)
{
    RecordWriter writer;
    copyBytes(reader, 6, writer);  // font, number format, kind and protection
    const uint8_t alignment = reader.u8();
    const uint8_t orientationAndUsed = reader.u8();
    const uint32_t fill = reader.u32();
    const uint32_t lines = reader.u32();
    const uint32_t left = lines >> 3 & 0x07, right = lines >> 6 & 0x07, top = lines & 0x07, bottom = fill >> 22 & 0x07;
    const uint32_t borders = left | right << 4 | top << 8 | bottom << 12 | (lines >> 16 & 0x7F) << 16 |
                             (lines >> 23 & 0x7F) << 23;
    const uint32_t moreBorders = (lines >> 9 & 0x7F) | (fill >> 25 & 0x7F) << 7 | (fill >> 16 & 0x3F) << 26;
    writer.u8(alignment).u8(rotationOf(orientationAndUsed)).u8(0).u8(orientationAndUsed & 0xFC);
    return writer.u32(borders).u32(moreBorders).u16(static_cast<uint16_t>(fill & 0x3FFF)).body();
}

Body upgradeBoundSheet(RecordReader& reader, uint16_t codePage)
{
    RecordWriter writer;
    copyBytes(reader, 6, writer);  // stream offset, visibility, kind
    return writer.shortString(readText(reader, reader.u8(), codePage)).body();
}

Body upgradeLabel(RecordReader& reader, uint16_t codePage)
{
    RecordWriter writer;
    copyCellHeader(reader, writer);
    return writer.string(readText(reader, reader.u16(), codePage)).body();
}

// Format runs count bytes of the stored text; in a code page of two-byte characters those are
// fewer characters.
Body upgradeRString(RecordReader& reader, uint16_t codePage)
{
    RecordWriter writer;
    copyCellHeader(reader, writer);
    const std::string text = readBytes(reader, reader.u16());
    writer.string(decodeCodePage(text, codePage));
    const uint8_t runCount = reader.remaining() >= 1 ? reader.u8() : 0;
    if (static_cast<size_t>(runCount) * 2 > reader.remaining())
        reader.fail("a text claims more format runs than the record holds");
    writer.u16(runCount);
    for (uint8_t i = 0; i < runCount; ++i) {
        const size_t firstByte = std::min<size_t>(reader.u8(), text.size());
        writer.u16(static_cast<uint16_t>(decodeCodePage(std::string_view(text).substr(0, firstByte), codePage).size()));
        writer.u16(reader.u8());
    }
    return writer.body();
}

Body upgradeString(RecordReader& reader, uint16_t codePage)
{
    return RecordWriter().string(readText(reader, reader.u16(), codePage)).body();
}

Body upgradeHeaderFooter(RecordReader& reader, uint16_t codePage)
{
    if (reader.atEnd())
        return {};
    return RecordWriter().string(readText(reader, reader.u8(), codePage)).body();
}

Body upgradeSeriesText(RecordReader& reader, uint16_t codePage)
{
    RecordWriter writer;
    writer.u16(reader.u16());
    return writer.shortString(readText(reader, reader.u8(), codePage)).body();
}

Body upgradePageBreaks(RecordReader& reader, uint16_t lastAcross)
{
    const uint16_t count = reader.u16();
    if (static_cast<size_t>(count) * 2 > reader.remaining())
        reader.fail("the list of page breaks is longer than the record");
    RecordWriter writer;
    writer.u16(count);
    for (uint16_t i = 0; i < count; ++i)
        writer.u16(reader.u16()).u16(0).u16(lastAcross);
    return writer.body();
}

}  // namespace kx::workbook::detail::biff5
