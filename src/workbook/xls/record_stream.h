#pragma once
// The records of a workbook stream: a four-byte header (type, length) and a body, with the
// CONTINUE records that follow a record joined to it as further pieces of its body.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kx::workbook::detail {

using Bytes = std::span<const std::byte>;

// The two bytes at `at`, least significant first; the caller has checked that they are there.
uint16_t littleEndian16(const std::byte* at);

struct Record {
    uint16_t type = 0;
    size_t offset = 0;              // of the record header in the stream
    std::span<const Bytes> pieces;  // the body, then the body of each CONTINUE record
};

class RecordStream {
public:
    explicit RecordStream(Bytes stream, size_t start = 0);
    // The next record; false at the end of the stream. Throws CutShortRecord when a header or
    // body reaches past the end of the stream.
    bool next(Record& record);
    size_t position() const { return position_; }

private:
    Bytes stream_;
    size_t position_;
    std::vector<Bytes> pieces_;
};

// A checked cursor over the body of one record. Plain values may straddle the pieces; the
// characters of a string restart with an option byte at the start of each piece.
class RecordReader {
public:
    explicit RecordReader(const Record& record);

    uint8_t u8();
    uint16_t u16();
    int16_t i16() { return static_cast<int16_t>(u16()); }
    uint32_t u32();
    double f64();
    void skip(size_t count);
    void skipToEndOfPiece();
    size_t remaining() const { return remaining_; }
    bool atEnd() const { return remaining_ == 0; }

    // Appends `count` characters stored one byte (Latin-1) or two bytes (UTF-16LE) wide, or
    // as many as the record still holds when it ends first.
    void readCharacters(size_t count, bool twoBytesWide, std::u16string& out);

    [[noreturn]] void fail(const std::string& problem) const;

private:
    void copyOut(std::byte* target, size_t count);
    bool stepToNextPiece();

    const Record& record_;
    size_t piece_ = 0;
    size_t position_ = 0;
    size_t remaining_ = 0;
};

}  // namespace kx::workbook::detail
