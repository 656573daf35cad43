// The record layer: CONTINUE joining, values and strings across pieces, truncated records.
#include <gtest/gtest.h>

#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_stream.h"
#include "workbook/xls/text_decoding.h"
#include "xls_builder.h"

using namespace kx::workbook::detail;
using kx::testing::Body;
using kx::testing::RawRecord;
using kx::testing::recordStream;
using kx::workbook::RichText;

namespace {

constexpr uint16_t kContinue = 0x003C;

// Keeps the stream alive while the records point into it.
struct Stream {
    explicit Stream(const std::vector<RawRecord>& raw) : bytes(recordStream(raw)), records(bytes) {}
    Record next()
    {
        Record record;
        EXPECT_TRUE(records.next(record));
        return record;
    }
    std::vector<std::byte> bytes;
    RecordStream records;
};

}  // namespace

TEST(RecordStream, JoinsContinueRecordsToThePrecedingRecordOnly)
{
    Stream stream({{0x00FC, {1, 2}}, {kContinue, {3}}, {kContinue, {4, 5}}, {0x000A, {}}, {kContinue, {9}}});
    const Record first = stream.next();
    EXPECT_EQ(first.type, 0x00FC);
    EXPECT_EQ(first.offset, 0u);
    ASSERT_EQ(first.pieces.size(), 3u);
    RecordReader reader(first);
    EXPECT_EQ(reader.remaining(), 5u);
    EXPECT_EQ(reader.u8(), 1);
    EXPECT_EQ(reader.u32(), 0x05040302u);  // straddles all three pieces
    EXPECT_TRUE(reader.atEnd());

    const Record eof = stream.next();
    EXPECT_EQ(eof.type, 0x000A);
    EXPECT_EQ(eof.pieces.size(), 2u);
    Record none;
    EXPECT_FALSE(stream.records.next(none));
}

TEST(RecordStream, RejectsHeadersAndBodiesPastTheEnd)
{
    auto bytes = recordStream({{0x0203, std::vector<uint8_t>(14, 0)}});
    for (size_t cut : {2u, 3u, 4u, 10u, 17u}) {
        RecordStream records(std::span<const std::byte>(bytes).first(cut));
        Record record;
        EXPECT_THROW(records.next(record), ReadFailure) << "cut at " << cut;
    }
}

TEST(RecordReader, ReadingPastTheRecordFailsWithTypeAndOffset)
{
    Stream stream({{0x0001, {0}}, {0x0203, {1, 2, 3}}});
    stream.next();
    const Record record = stream.next();
    RecordReader reader(record);
    reader.u16();
    try {
        reader.u16();
        FAIL() << "no failure";
    } catch (const ReadFailure& failure) {
        EXPECT_EQ(failure.code(), kx::workbook::ErrorCode::Corrupt);
        EXPECT_NE(std::string(failure.what()).find("0x0203 at offset 5"), std::string::npos) << failure.what();
    }
}

TEST(Strings, SplitAcrossContinueWithTheOptionByteRepeatedAndChangingWidth)
{
    // "ab" stored one byte wide, then the rest in the next piece two bytes wide.
    const auto head = Body().u16(5).u8(0).characters(u"ab").data();
    std::vector<uint8_t> firstPiece(head.begin(), head.end());
    firstPiece.erase(firstPiece.begin() + 3);  // the option byte was written by characters()
    Stream stream({{0x0207, firstPiece}, {kContinue, Body().characters(u"\u0416\u00e9z", true).data()}});
    const Record record = stream.next();
    RecordReader reader(record);
    EXPECT_EQ(readString(reader), "ab\xD0\x96\xC3\xA9z");
    EXPECT_TRUE(reader.atEnd());
}

TEST(Strings, SharedStringsWithRunsAndPhoneticDataSplitAcrossPieces)
{
    // A rich string whose runs continue in the next piece, and a string whose text starts there.
    Body first;
    first.u16(3).u8(0x08 | 0x04).u16(2).u32(3).bytes({'x', 'y', 'z'}).u16(0).u16(5);
    Body second;
    second.u16(2).u16(6).bytes({7, 8, 9});  // rest of the runs, then the phonetic data
    second.u16(4).u8(0);                    // next string: header only
    Body third;
    third.characters(u"\u20ACuro", true);
    Stream stream({{0x00FC, first.data()}, {kContinue, second.data()}, {kContinue, third.data()}});
    const Record record = stream.next();
    RecordReader reader(record);
    const auto rich = readRichString(reader);
    EXPECT_EQ(rich.utf8, "xyz");
    ASSERT_EQ(rich.runs.size(), 2u);
    EXPECT_EQ(rich.runs[1].firstChar, 2);
    EXPECT_EQ(rich.runs[1].fontIndex, 6);
    EXPECT_EQ(readRichString(reader).utf8, "\xE2\x82\xAC" "uro");
    EXPECT_TRUE(reader.atEnd());
}

TEST(Strings, ToleratesCountsOneTooLargeAndEmptyTextsWithoutOptionByte)
{
    Stream stream({{0x041E, Body().u16(3).u8(0).bytes({'a', 'b'}).data()}, {0x0014, Body().u16(0).data()}});
    Record record = stream.next();
    RecordReader cut(record);
    EXPECT_EQ(readString(cut), "ab");
    record = stream.next();
    RecordReader empty(record);
    EXPECT_EQ(readString(empty), "");
}

TEST(Strings, ClaimedRunsBeyondTheRecordAreAnError)
{
    Stream stream({{0x00FC, Body().u16(1).u8(0x08).u16(5000).bytes({'a', 0, 0, 0, 0}).data()}});
    const Record record = stream.next();
    RecordReader reader(record);
    EXPECT_THROW(readRichString(reader), ReadFailure);
}

TEST(Utf16ToUtf8, PairsSurrogatesAndReplacesLoneHalves)
{
    EXPECT_EQ(utf16ToUtf8(u"A\u00e9\u4e2d"), "A\xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    const char16_t lone[] = {0xD800, u'x', 0};
    EXPECT_EQ(utf16ToUtf8(lone), "\xEF\xBF\xBDx");
}

TEST(Strings, FormatRunsThatCoverNothingAreDropped)
{
    RichText text{"a\xF0\x9F\x98\x80" "bc", {{0, 1}, {1, 2}, {1, 3}, {0, 4}, {3, 5}, {4, 6}, {9, 7}}};
    keepUsableRuns(text);  // five UTF-16 units: a, the two halves of the emoji, b, c
    ASSERT_EQ(text.runs.size(), 4u);
    EXPECT_EQ(text.runs[0].fontIndex, 1);
    EXPECT_EQ(text.runs[1].fontIndex, 2);
    EXPECT_EQ(text.runs[2].fontIndex, 5);
    EXPECT_EQ(text.runs[3].fontIndex, 6);
}
