#pragma once
// The drawing records nested inside MSODRAWINGGROUP and MSODRAWING: each an eight-byte header
// (version and instance, type, length) and a body, which for containers is more such records.
#include <cstdint>
#include <vector>

#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

struct EscherRecord {
    uint8_t version = 0;
    uint16_t instance = 0;
    uint16_t type = 0;
    Bytes body;

    bool isContainer() const { return version == 0xF; }
};

// The records lying one after another in `data`. A record that claims more than `data` holds
// gets what is there, so a cut-off drawing still yields its first shapes.
std::vector<EscherRecord> escherRecords(Bytes data);

// Checked little-endian reads; 0 past the end of `data`.
uint16_t escherU16(Bytes data, size_t offset);
uint32_t escherU32(Bytes data, size_t offset);

}  // namespace kx::workbook::detail
