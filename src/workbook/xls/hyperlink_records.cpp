#include "workbook/xls/hyperlink_records.h"

#include <array>
#include <optional>

#include "workbook/xls/read_failure.h"
#include "workbook/xls/text_decoding.h"

namespace kx::workbook::detail {
namespace {

using Guid = std::array<uint8_t, 16>;

// Hyperlink object flags.
constexpr uint32_t hasMoniker = 0x01;
constexpr uint32_t hasLocation = 0x08;
constexpr uint32_t hasDisplayName = 0x10;
constexpr uint32_t hasFrameName = 0x80;
constexpr uint32_t monikerSavedAsString = 0x100;

constexpr Guid urlMoniker{0xE0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11, 0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};
constexpr Guid fileMoniker{0x03, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

Guid readGuid(RecordReader& reader)
{
    Guid guid{};
    for (uint8_t& byte : guid)
        byte = reader.u8();
    return guid;
}

// UTF-16 characters up to the first NUL; `count` is checked against what the record holds.
std::string readUtf16(RecordReader& reader, size_t count)
{
    if (count > reader.remaining() / 2)
        reader.fail("a hyperlink text is longer than its record");
    std::u16string text;
    bool ended = false;
    for (size_t i = 0; i < count; ++i) {
        const char16_t unit = reader.u16();
        ended = ended || unit == 0;
        if (!ended)
            text += unit;
    }
    return utf16ToUtf8(text);
}

// A character count (the closing NUL included), then the characters.
std::string readHyperlinkString(RecordReader& reader) { return readUtf16(reader, reader.u32()); }

std::string readUrlMoniker(RecordReader& reader)
{
    const uint32_t bytes = reader.u32();
    if (bytes > reader.remaining())
        reader.fail("a web address is longer than its record");
    const std::string url = readUtf16(reader, bytes / 2);
    reader.skip(bytes % 2);
    return url;
}

// A path to a file: read past, as it is neither a web address nor a place in the workbook.
void skipFileMoniker(RecordReader& reader)
{
    reader.skip(2);
    reader.skip(reader.u32());
    reader.skip(2 + 2 + 16 + 4);
    if (reader.u32() > 0)
        reader.skip(reader.u32() + 2);
}

std::string readMoniker(RecordReader& reader)
{
    const Guid kind = readGuid(reader);
    if (kind == urlMoniker)
        return readUrlMoniker(reader);
    if (kind == fileMoniker) {
        skipFileMoniker(reader);
        return {};
    }
    // Any other moniker has a layout of its own; what follows it cannot be found.
    reader.fail("a hyperlink has a kind of target this program does not read");
}

std::optional<Hyperlink> parseHyperlink(RecordReader& reader)
{
    Hyperlink link;
    link.range.firstRow = reader.u16();
    link.range.lastRow = reader.u16();
    link.range.firstColumn = reader.u16();
    link.range.lastColumn = reader.u16();
    reader.skip(16 + 4);  // the class of the link object and its stream version
    const uint32_t flags = reader.u32();
    if (flags & hasDisplayName)
        readHyperlinkString(reader);
    if (flags & hasFrameName)
        readHyperlinkString(reader);
    if (flags & hasMoniker)
        link.address = flags & monikerSavedAsString ? readHyperlinkString(reader) : readMoniker(reader);
    if (flags & hasLocation)
        link.location = readHyperlinkString(reader);
    if (link.range.firstRow > link.range.lastRow || link.range.firstColumn > link.range.lastColumn ||
        (link.address.empty() && link.location.empty()))
        return std::nullopt;
    return link;
}

}  // namespace

void readHyperlink(RecordReader& reader, Sheet& sheet)
{
    try {
        if (auto link = parseHyperlink(reader))
            sheet.hyperlinks.push_back(std::move(*link));
    } catch (const ReadFailure&) {
        // Only the link is lost; see the header.
    }
}

}  // namespace kx::workbook::detail
