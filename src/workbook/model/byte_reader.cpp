#include "workbook/model/byte_reader.h"

#include <bit>
#include <string>

namespace kx::workbook {

TruncatedData::TruncatedData(size_t offset, size_t wanted, size_t remaining)
    : std::runtime_error("the data ends at offset " + std::to_string(offset) + " with " + std::to_string(remaining) +
                         " of " + std::to_string(wanted) + " bytes"),
      offset_(offset)
{
}

ByteReader::ByteReader(ByteSpan data, size_t start) : data_(data), offset_(start)
{
    if (start > data.size())
        throw TruncatedData(data.size(), start - data.size(), 0);
}

ByteSpan ByteReader::bytes(size_t count)
{
    if (!has(count))
        throw TruncatedData(offset_, count, remaining());
    const ByteSpan taken = data_.subspan(offset_, count);
    offset_ += count;
    return taken;
}

void ByteReader::skip(size_t count) { bytes(count); }

uint64_t ByteReader::littleEndian(size_t width)
{
    const ByteSpan taken = bytes(width);
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | std::to_integer<uint64_t>(taken[i]);
    return value;
}

uint8_t ByteReader::u8() { return static_cast<uint8_t>(littleEndian(1)); }
uint16_t ByteReader::u16le() { return static_cast<uint16_t>(littleEndian(2)); }
uint32_t ByteReader::u32le() { return static_cast<uint32_t>(littleEndian(4)); }
double ByteReader::f64le() { return std::bit_cast<double>(littleEndian(8)); }

}  // namespace kx::workbook
