#pragma once
// The one way the engine reads binary structures: a cursor over bytes that checks, before each
// read, that the bytes are there, and otherwise throws TruncatedData naming the offset.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace kx::workbook {

using ByteSpan = std::span<const std::byte>;

inline ByteSpan asBytes(const std::vector<uint8_t>& data) { return std::as_bytes(std::span(data)); }

class TruncatedData : public std::runtime_error {
public:
    TruncatedData(size_t offset, size_t wanted, size_t remaining);
    size_t offset() const { return offset_; }

private:
    size_t offset_;
};

class ByteReader {
public:
    explicit ByteReader(ByteSpan data, size_t start = 0);

    uint8_t u8();
    uint16_t u16le();
    int16_t i16le() { return static_cast<int16_t>(u16le()); }
    uint32_t u32le();
    int32_t i32le() { return static_cast<int32_t>(u32le()); }
    double f64le();
    ByteSpan bytes(size_t count);
    void skip(size_t count);

    size_t offset() const { return offset_; }
    size_t remaining() const { return data_.size() - offset_; }
    bool has(size_t count) const { return count <= remaining(); }
    bool atEnd() const { return offset_ == data_.size(); }

private:
    uint64_t littleEndian(size_t width);

    ByteSpan data_;
    size_t offset_;
};

}  // namespace kx::workbook
