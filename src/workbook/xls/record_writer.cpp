#include "workbook/xls/record_writer.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "workbook/xls/record_types.h"

namespace kx::workbook::detail {

namespace {

constexpr size_t kLongestBody = 8224;

}  // namespace

RecordWriter& RecordWriter::u8(uint8_t value)
{
    body_.push_back(static_cast<std::byte>(value));
    return *this;
}

RecordWriter& RecordWriter::u16(uint16_t value)
{
    return u8(static_cast<uint8_t>(value)).u8(static_cast<uint8_t>(value >> 8));
}

RecordWriter& RecordWriter::u32(uint32_t value)
{
    return u16(static_cast<uint16_t>(value)).u16(static_cast<uint16_t>(value >> 16));
}

RecordWriter& RecordWriter::f64(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
}

RecordWriter& RecordWriter::bytes(const std::vector<std::byte>& values)
{
    body_.insert(body_.end(), values.begin(), values.end());
    return *this;
}

RecordWriter& RecordWriter::characters(std::u16string_view text)
{
    u8(0x01);
    for (char16_t unit : text)
        u16(static_cast<uint16_t>(unit));
    return *this;
}

RecordWriter& RecordWriter::shortString(std::u16string_view text)
{
    text = text.substr(0, std::numeric_limits<uint8_t>::max());
    return u8(static_cast<uint8_t>(text.size())).characters(text);
}

RecordWriter& RecordWriter::string(std::u16string_view text)
{
    text = text.substr(0, std::numeric_limits<uint16_t>::max());
    return u16(static_cast<uint16_t>(text.size())).characters(text);
}

void appendRecord(std::vector<std::byte>& stream, uint16_t type, const std::vector<std::byte>& body)
{
    size_t written = 0;
    do {
        const size_t size = std::min(kLongestBody, body.size() - written);
        RecordWriter header;
        header.u16(written == 0 ? type : record_type::Continue).u16(static_cast<uint16_t>(size));
        stream.insert(stream.end(), header.body().begin(), header.body().end());
        stream.insert(stream.end(), body.begin() + static_cast<std::ptrdiff_t>(written),
                      body.begin() + static_cast<std::ptrdiff_t>(written + size));
        written += size;
    } while (written < body.size());
}

void appendRecordAsRead(std::vector<std::byte>& stream, const Record& record)
{
    for (size_t i = 0; i < record.pieces.size(); ++i)
        appendRecord(stream, i == 0 ? record.type : record_type::Continue,
                     std::vector<std::byte>(record.pieces[i].begin(), record.pieces[i].end()));
}

}  // namespace kx::workbook::detail
