#include "workbook/blip_store.h"

#include "workbook/escher_records.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kDrawingGroupContainer = 0xF000;
constexpr uint16_t kStoreContainer = 0xF001;
constexpr uint16_t kStoreEntry = 0xF007;
constexpr uint16_t kJpeg = 0xF01D;
constexpr uint16_t kPng = 0xF01E;
constexpr uint16_t kDib = 0xF01F;
constexpr uint16_t kCmykJpeg = 0xF02A;
// The entry's fixed part: kinds, identifier, tag, size, references, offset, name length.
constexpr size_t kEntryHeaderSize = 36;
constexpr size_t kEntryNameLengthOffset = 33;
constexpr size_t kIdentifierSize = 16;

PictureFormat formatOf(uint16_t type)
{
    switch (type) {
    case kJpeg:
    case kCmykJpeg: return PictureFormat::Jpeg;
    case kPng: return PictureFormat::Png;
    case kDib: return PictureFormat::Dib;
    default: return PictureFormat::Unsupported;  // metafiles and anything newer
    }
}

// A bitmap starts with its identifier, a second one when the instance is odd, and a tag byte.
Picture readBitmap(const EscherRecord& blip)
{
    const size_t skipped = kIdentifierSize * ((blip.instance & 1) ? 2 : 1) + 1;
    Picture picture;
    picture.format = formatOf(blip.type);
    if (picture.format == PictureFormat::Unsupported || blip.body.size() <= skipped)
        return {};
    const Bytes image = blip.body.subspan(skipped);
    picture.data.resize(image.size());
    for (size_t i = 0; i < image.size(); ++i)
        picture.data[i] = std::to_integer<uint8_t>(image[i]);
    return picture;
}

Picture readStoreEntry(const EscherRecord& entry)
{
    if (entry.body.size() < kEntryHeaderSize)
        return {};
    const size_t nameLength = std::to_integer<size_t>(entry.body[kEntryNameLengthOffset]);
    if (entry.body.size() < kEntryHeaderSize + nameLength)
        return {};
    const std::vector<EscherRecord> blips = escherRecords(entry.body.subspan(kEntryHeaderSize + nameLength));
    return blips.empty() ? Picture{} : readBitmap(blips.front());
}

}  // namespace

std::vector<Picture> readPictureStore(Bytes drawingGroup)
{
    std::vector<Picture> pictures;
    for (const EscherRecord& group : escherRecords(drawingGroup)) {
        if (group.type != kDrawingGroupContainer)
            continue;
        for (const EscherRecord& store : escherRecords(group.body)) {
            if (store.type != kStoreContainer)
                continue;
            for (const EscherRecord& entry : escherRecords(store.body))
                if (entry.type == kStoreEntry)
                    pictures.push_back(readStoreEntry(entry));
        }
    }
    return pictures;
}

}  // namespace kx::workbook::detail
