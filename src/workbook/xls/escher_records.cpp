#include "workbook/xls/escher_records.h"

#include <algorithm>

namespace kx::workbook::detail {

namespace {

constexpr size_t kHeaderSize = 8;

}  // namespace

uint16_t escherU16(Bytes data, size_t offset)
{
    if (offset > data.size() || data.size() - offset < 2)
        return 0;
    return static_cast<uint16_t>(std::to_integer<uint16_t>(data[offset]) |
                                 std::to_integer<uint16_t>(data[offset + 1]) << 8);
}

uint32_t escherU32(Bytes data, size_t offset)
{
    if (offset > data.size() || data.size() - offset < 4)
        return 0;
    return escherU16(data, offset) | static_cast<uint32_t>(escherU16(data, offset + 2)) << 16;
}

std::vector<EscherRecord> escherRecords(Bytes data)
{
    std::vector<EscherRecord> records;
    size_t position = 0;
    while (data.size() - position >= kHeaderSize) {
        const uint16_t versionAndInstance = escherU16(data, position);
        EscherRecord record;
        record.version = static_cast<uint8_t>(versionAndInstance & 0x000F);
        record.instance = static_cast<uint16_t>(versionAndInstance >> 4);
        record.type = escherU16(data, position + 2);
        const size_t length = std::min<size_t>(escherU32(data, position + 4), data.size() - position - kHeaderSize);
        record.body = data.subspan(position + kHeaderSize, length);
        records.push_back(record);
        position += kHeaderSize + length;
    }
    return records;
}

}  // namespace kx::workbook::detail
