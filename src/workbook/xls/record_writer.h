#pragma once
// Writing records of the workbook stream, for the readers that bring older file versions into
// the layout the record readers know.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

class RecordWriter {
public:
    RecordWriter& u8(uint8_t value);
    RecordWriter& u16(uint16_t value);
    RecordWriter& u32(uint32_t value);
    RecordWriter& f64(double value);
    RecordWriter& bytes(const std::vector<std::byte>& values);
    // Option byte and UTF-16LE characters.
    RecordWriter& characters(std::u16string_view text);
    // The same after a one- or two-byte character count; longer texts are cut to fit the count.
    RecordWriter& shortString(std::u16string_view text);
    RecordWriter& string(std::u16string_view text);
    const std::vector<std::byte>& body() const { return body_; }

private:
    std::vector<std::byte> body_;
};

// Appends a record (header and body) to a stream; a body longer than a record holds goes on in
// CONTINUE records.
void appendRecord(std::vector<std::byte>& stream, uint16_t type, const std::vector<std::byte>& body);

// Appends a record as it was read, its CONTINUE records with it.
void appendRecordAsRead(std::vector<std::byte>& stream, const Record& record);

}  // namespace kx::workbook::detail
