#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>

#include "workbook/model/byte_reader.h"

using namespace kx::workbook;

namespace {

const std::vector<uint8_t> kData{0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0xAA};

}  // namespace

TEST(ByteReader, ReadsLittleEndianValuesInOrder)
{
    ByteReader in(asBytes(kData));
    EXPECT_EQ(in.u8(), 0x01);
    EXPECT_EQ(in.u16le(), 0x1234);
    EXPECT_EQ(in.u32le(), 0x12345678u);
    EXPECT_EQ(in.f64le(), 1.0);
    EXPECT_EQ(in.offset(), 15u);
    EXPECT_THROW(in.i16le(), TruncatedData);
    EXPECT_EQ(in.u8(), 0xAA);
    EXPECT_TRUE(in.atEnd());
}

TEST(ByteReader, EveryReadPastTheEndThrowsWithTheOffsetAndLeavesTheCursor)
{
    const std::vector<uint8_t> three{1, 2, 3};
    const std::array<std::function<void(ByteReader&)>, 5> reads{
        [](ByteReader& in) { in.u32le(); }, [](ByteReader& in) { in.f64le(); },
        [](ByteReader& in) { in.bytes(3); }, [](ByteReader& in) { in.skip(SIZE_MAX); },
        [](ByteReader& in) { in.u16le(); }};
    for (size_t i = 0; i < reads.size(); ++i) {
        ByteReader in(asBytes(three), 2);
        try {
            reads[i](in);
            ADD_FAILURE() << "read " << i << " did not fail";
        } catch (const TruncatedData& failure) {
            EXPECT_EQ(failure.offset(), 2u) << "read " << i;
        }
        EXPECT_EQ(in.offset(), 2u) << "read " << i;
        EXPECT_EQ(in.u8(), 3) << "read " << i;
    }
    EXPECT_THROW(ByteReader(asBytes(three), 4), TruncatedData);
}
