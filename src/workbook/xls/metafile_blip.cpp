#include "workbook/xls/metafile_blip.h"

#include <zlib.h>

#include "workbook/xls/escher_records.h"

namespace kx::workbook::detail {
namespace {

// Unpacked size, bounds, size in EMUs, packed size, compression and filter.
constexpr size_t kHeaderSize = 34;
constexpr size_t kPackedSizeOffset = 28;
constexpr size_t kCompressionOffset = 32;
constexpr uint8_t kDeflated = 0x00;
constexpr uint8_t kStored = 0xFE;

std::vector<uint8_t> copied(Bytes data)
{
    const auto* first = reinterpret_cast<const uint8_t*>(data.data());
    return {first, first + data.size()};
}

// The whole stream must inflate to exactly `size` bytes: a shorter or longer result means the
// header and the data belong to different pictures, or one of them is damaged.
std::vector<uint8_t> inflated(Bytes packed, uint32_t size)
{
    std::vector<uint8_t> out(size);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return {};
    stream.next_in = const_cast<Bytef*>(reinterpret_cast<const Bytef*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = out.data();
    stream.avail_out = size;
    const int status = inflate(&stream, Z_FINISH);
    const bool complete = status == Z_STREAM_END && stream.avail_out == 0;
    inflateEnd(&stream);
    return complete ? out : std::vector<uint8_t>{};
}

}  // namespace

std::vector<uint8_t> unpackMetafile(Bytes blip)
{
    if (blip.size() < kHeaderSize)
        return {};
    const uint32_t size = escherU32(blip, 0);
    const uint32_t packedSize = escherU32(blip, kPackedSizeOffset);
    const auto compression = std::to_integer<uint8_t>(blip[kCompressionOffset]);
    const Bytes rest = blip.subspan(kHeaderSize);
    if (size == 0 || size > kMaxMetafileSize || packedSize == 0 || packedSize > rest.size())
        return {};
    const Bytes packed = rest.first(packedSize);
    if (compression == kDeflated)
        return inflated(packed, size);
    if (compression == kStored && packedSize == size)
        return copied(packed);
    return {};
}

}  // namespace kx::workbook::detail
