#include "workbook/xls/text_decoding.h"

namespace kx::workbook::detail {

namespace {

constexpr uint8_t kTwoBytesWide = 0x01;
constexpr uint8_t kHasPhonetic = 0x04;
constexpr uint8_t kHasRuns = 0x08;

std::string decodeCharacters(RecordReader& reader, size_t count, uint8_t options)
{
    std::u16string units;
    units.reserve(count);
    reader.readCharacters(count, (options & kTwoBytesWide) != 0, units);
    return utf16ToUtf8(units);
}

}  // namespace

std::string readShortString(RecordReader& reader)
{
    const uint8_t count = reader.u8();
    return decodeCharacters(reader, count, reader.u8());
}

std::string readString(RecordReader& reader)
{
    const uint16_t count = reader.u16();
    if (count == 0 && reader.atEnd())
        return {};  // an empty text written without its option byte
    return decodeCharacters(reader, count, reader.u8());
}

std::string readCharacters(RecordReader& reader, size_t count)
{
    if (count == 0)
        return {};
    return decodeCharacters(reader, count, reader.u8());
}

RichText readRichString(RecordReader& reader)
{
    const uint16_t count = reader.u16();
    const uint8_t options = reader.u8();
    const uint16_t runCount = (options & kHasRuns) ? reader.u16() : 0;
    const uint32_t phoneticSize = (options & kHasPhonetic) ? reader.u32() : 0;
    RichText text;
    text.utf8 = decodeCharacters(reader, count, options);
    if (static_cast<size_t>(runCount) * 4 > reader.remaining())
        reader.fail("a text claims more format runs than the record holds");
    text.runs.reserve(runCount);
    for (uint16_t i = 0; i < runCount; ++i) {
        FormatRun run;
        run.firstChar = reader.u16();
        run.fontIndex = reader.u16();
        text.runs.push_back(run);
    }
    keepUsableRuns(text);
    if (phoneticSize > reader.remaining())
        reader.fail("a text claims more phonetic data than the record holds");
    reader.skip(phoneticSize);
    return text;
}

void keepUsableRuns(RichText& text)
{
    // Runs count UTF-16 units: one per character below U+10000, two above.
    size_t length = 0;
    for (char byte : text.utf8) {
        const auto unit = static_cast<unsigned char>(byte);
        length += (unit & 0xC0) != 0x80;
        length += unit >= 0xF0;
    }
    size_t kept = 0;
    for (const FormatRun& run : text.runs) {
        if (run.firstChar >= length || (kept > 0 && run.firstChar <= text.runs[kept - 1].firstChar))
            continue;
        text.runs[kept++] = run;
    }
    text.runs.resize(kept);
}

}  // namespace kx::workbook::detail
