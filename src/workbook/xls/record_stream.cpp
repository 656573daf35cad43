#include "workbook/xls/record_stream.h"

#include <algorithm>
#include <array>
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

void failCorrupt(uint16_t recordType, size_t offset, const std::string& problem)
{
    throw ReadFailure(ErrorCode::Corrupt, damageReason(recordType, offset, problem));
}

CutShortRecord::CutShortRecord(uint16_t recordType, size_t offset, const std::string& problem)
    : ReadFailure(ErrorCode::Corrupt, damageReason(recordType, offset, problem)), recordType_(recordType),
      offset_(offset), problem_(problem)
{
}

// A start past the end is an empty stream, so that a sheet said to start there is reported as missing.
RecordStream::RecordStream(Bytes stream, size_t start) : cursor_(stream, std::min(start, stream.size())) {}

bool RecordStream::next(Record& record)
{
    if (cursor_.atEnd())
        return false;
    pieces_.clear();
    record.offset = cursor_.offset();
    bool first = true;
    do {
        if (!cursor_.has(kHeaderSize))
            throw CutShortRecord(0, cursor_.offset(), "the workbook stream ends inside a record header");
        const size_t headerOffset = cursor_.offset();
        const uint16_t type = cursor_.u16le();
        const uint16_t length = cursor_.u16le();
        if (!cursor_.has(length))
            throw CutShortRecord(type, headerOffset, "the record is longer than what is left of the workbook stream");
        if (first)
            record.type = type;
        pieces_.push_back(cursor_.bytes(length));
        first = false;
    } while (nextIsContinue());
    record.pieces = pieces_;
    return true;
}

bool RecordStream::nextIsContinue() const
{
    ByteReader ahead = cursor_;
    return ahead.has(kHeaderSize) && ahead.u16le() == record_type::Continue;
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
    return valueOf<1>().u8();
}

uint16_t RecordReader::u16()
{
    return valueOf<2>().u16le();
}

uint32_t RecordReader::u32()
{
    return valueOf<4>().u32le();
}

double RecordReader::f64()
{
    return valueOf<8>().f64le();
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
        ByteReader characters(piece.subspan(position_, take * width));
        for (size_t i = 0; i < take; ++i)
            out.push_back(static_cast<char16_t>(twoBytesWide ? characters.u16le() : characters.u8()));
        position_ += take * width;
        remaining_ -= take * width;
        count -= take;
    }
}

}  // namespace kx::workbook::detail
