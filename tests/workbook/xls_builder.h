#pragma once
// Builds small workbook files record by record, for tests and the read benchmark.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kx::testing {

// The body of one record, written little-endian.
class Body {
public:
    Body& u8(uint8_t value);
    Body& u16(uint16_t value);
    Body& u32(uint32_t value);
    Body& f64(double value);
    Body& bytes(const std::vector<uint8_t>& values);
    // Option byte and characters, one byte each (Latin-1) or two (UTF-16LE).
    Body& characters(const std::u16string& text, bool twoBytesWide = false);
    Body& string16(const std::u16string& text, bool twoBytesWide = false);  // two-byte count first
    Body& string8(const std::u16string& text);                              // one-byte count first
    const std::vector<uint8_t>& data() const { return data_; }
    size_t size() const { return data_.size(); }

private:
    std::vector<uint8_t> data_;
};

struct RawRecord {
    uint16_t type;
    std::vector<uint8_t> body;
};

// Serialises records (four-byte header each) into a stream.
std::vector<std::byte> recordStream(const std::vector<RawRecord>& records);

// Wraps a stream into an OLE2 compound file under the given name.
std::vector<std::byte> compoundFile(const std::vector<std::byte>& stream, const char* streamName = "Workbook");

struct SheetContents {
    std::string name;
    std::vector<RawRecord> records;  // between BOF and EOF
    uint8_t kind = 0;                // 0 worksheet, 1 macro sheet, 2 chart
    uint8_t visibility = 0;
    std::optional<size_t> sameOffsetAs;  // a second entry for an earlier sheet's records
};

// A whole workbook: globals with one font, 16 style formats and one cell format (XF 15),
// then the extra global records given, then the sheets.
class WorkbookBuilder {
public:
    WorkbookBuilder& global(uint16_t type, const Body& body);
    WorkbookBuilder& sheet(SheetContents contents);
    std::vector<std::byte> stream() const;
    std::vector<std::byte> file() const { return compoundFile(stream()); }

private:
    std::vector<RawRecord> globals_;
    std::vector<SheetContents> sheets_;
};

RawRecord record(uint16_t type, const Body& body);

// Cell records: row, column, format, then the value.
RawRecord numberCell(uint16_t row, uint16_t column, double value, uint16_t format = 15);
RawRecord rkCell(uint16_t row, uint16_t column, uint32_t rk, uint16_t format = 15);
RawRecord labelCell(uint16_t row, uint16_t column, const std::u16string& text, uint16_t format = 15);

}  // namespace kx::testing
