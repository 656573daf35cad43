#include "workbook/xls/escher_records.h"

#include <algorithm>

namespace kx::workbook::detail {

namespace {

constexpr size_t kHeaderSize = 8;

}  // namespace

std::vector<EscherRecord> escherRecords(Bytes data)
{
    std::vector<EscherRecord> records;
    ByteReader in(data);
    while (in.has(kHeaderSize)) {
        const uint16_t versionAndInstance = in.u16le();
        EscherRecord record;
        record.version = static_cast<uint8_t>(versionAndInstance & 0x000F);
        record.instance = static_cast<uint16_t>(versionAndInstance >> 4);
        record.type = in.u16le();
        const uint32_t length = in.u32le();
        record.body = in.bytes(std::min<size_t>(length, in.remaining()));
        records.push_back(record);
    }
    return records;
}

}  // namespace kx::workbook::detail
