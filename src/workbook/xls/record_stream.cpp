#include "workbook/xls/record_stream.h"

#include <algorithm>
#include <cstring>

#include "workbook/model/load_warnings.h"
#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_types.h"

namespace kx::workbook::detail {

namespace {

constexpr size_t kHeaderSize = 4;

std::string damageReason(uint16_t recordType, size_t offset, const std::string& problem)
{
    return "the file is damaged (record " + recordTypeText(recordType) + " at offset " + std::to_string(offset) +
           ": " + problem + ")";
}

}  // namespace

uint16_t littleEndian16(const std::byte* at)
{
    return static_cast<uint16_t>(std::to_integer<uint16_t>(at[0]) | std::to_integer<uint16_t>(at[1]) << 8);
}

void failCorrupt(uint16_t recordType, size_t offset, const std::string& problem)
{
    throw ReadFailure(ErrorCode::Corrupt, damageReason(recordType, offset, problem));
}

CutShortRecord::CutShortRecord(uint16_t recordType, size_t offset, const std::string& problem)
    : ReadFailure(ErrorCode::Corrupt, damageReason(recordType, offset, problem)), recordType_(recordType),
      offset_(offset), problem_(problem)
{
}

RecordStream::RecordStream(Bytes stream, size_t start) : stream_(stream), position_(start) {}

bool RecordStream::next(Record& record)
{
    if (position_ >= stream_.size())
        return false;
    pieces_.clear();
    record.offset = position_;
    bool first = true;
    do {
        if (stream_.size() - position_ < kHeaderSize)
            throw CutShortRecord(0, position_, "the workbook stream ends inside a record header");
        const uint16_t type = littleEndian16(stream_.data() + position_);
        const uint16_t length = littleEndian16(stream_.data() + position_ + 2);
        if (stream_.size() - position_ - kHeaderSize < length)
            throw CutShortRecord(type, position_, "the record is longer than what is left of the workbook stream");
        if (first)
            record.type = type;
        pieces_.push_back(stream_.subspan(position_ + kHeaderSize, length));
        position_ += kHeaderSize + length;
        first = false;
    } while (stream_.size() - position_ >= kHeaderSize &&
             littleEndian16(stream_.data() + position_) == record_type::Continue);
    record.pieces = pieces_;
    return true;
}

RecordReader::RecordReader(const Record& record) : record_(record)
{
    for (const Bytes& piece : record.pieces)
        remaining_ += piece.size();
}

void RecordReader::fail(const std::string& problem) const
{
    failCorrupt(record_.type, record_.offset, problem);
}

bool RecordReader::stepToNextPiece()
{
    if (piece_ + 1 >= record_.pieces.size())
        return false;
    ++piece_;
    position_ = 0;
    return true;
}

void RecordReader::copyOut(std::byte* target, size_t count)
{
    if (count > remaining_)
        fail("the record ends before its data");
    remaining_ -= count;
    while (count > 0) {
        const Bytes piece = record_.pieces[piece_];
        if (position_ == piece.size()) {
            stepToNextPiece();
            continue;
        }
        const size_t take = std::min(count, piece.size() - position_);
        if (target) {
            std::memcpy(target, piece.data() + position_, take);
            target += take;
        }
        position_ += take;
        count -= take;
    }
}

uint8_t RecordReader::u8()
{
    std::byte value;
    copyOut(&value, 1);
    return std::to_integer<uint8_t>(value);
}

uint16_t RecordReader::u16()
{
    std::byte value[2];
    copyOut(value, 2);
    return littleEndian16(value);
}

uint32_t RecordReader::u32()
{
    std::byte value[4];
    copyOut(value, 4);
    return littleEndian16(value) | static_cast<uint32_t>(littleEndian16(value + 2)) << 16;
}

double RecordReader::f64()
{
    std::byte value[8];
    copyOut(value, 8);
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | std::to_integer<uint64_t>(value[i]);
    double result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

void RecordReader::skip(size_t count)
{
    copyOut(nullptr, count);
}

void RecordReader::skipToEndOfPiece()
{
    const size_t rest = record_.pieces[piece_].size() - position_;
    remaining_ -= rest;
    position_ += rest;
}

void RecordReader::readCharacters(size_t count, bool twoBytesWide, std::u16string& out)
{
    while (count > 0) {
        if (position_ == record_.pieces[piece_].size()) {
            // A string continued in the next piece starts that piece with a fresh option byte.
            // Some writers count one character too many; the record's end then ends the text.
            if (!stepToNextPiece())
                return;
            twoBytesWide = (u8() & 0x01) != 0;
            continue;
        }
        const Bytes piece = record_.pieces[piece_];
        const size_t width = twoBytesWide ? 2 : 1;
        const size_t available = (piece.size() - position_) / width;
        if (available == 0) {
            if (piece_ + 1 == record_.pieces.size())
                return skip(remaining_);
            fail("a character is split between two records");
        }
        const size_t take = std::min(count, available);
        const std::byte* at = piece.data() + position_;
        for (size_t i = 0; i < take; ++i)
            out.push_back(twoBytesWide ? static_cast<char16_t>(littleEndian16(at + 2 * i))
                                       : static_cast<char16_t>(std::to_integer<uint8_t>(at[i])));
        position_ += take * width;
        remaining_ -= take * width;
        count -= take;
    }
}

}  // namespace kx::workbook::detail
