#include "workbook/xls/blip_store.h"

#include "workbook/xls/escher_records.h"
#include "workbook/xls/metafile_blip.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kDrawingGroupContainer = 0xF000;
constexpr uint16_t kStoreContainer = 0xF001;
constexpr uint16_t kStoreEntry = 0xF007;
constexpr uint16_t kEmf = 0xF01A;
constexpr uint16_t kWmf = 0xF01B;
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
    case kEmf: return PictureFormat::Emf;
    case kWmf: return PictureFormat::Wmf;
    default: return PictureFormat::Unsupported;  // Macintosh pictures and anything newer
    }
}

Picture copiedBitmap(Bytes image, PictureFormat format)
{
    Picture picture{format, {}};
    picture.data.resize(image.size());
    for (size_t i = 0; i < image.size(); ++i)
        picture.data[i] = std::to_integer<uint8_t>(image[i]);
    return picture;
}

// A picture starts with its identifier and a second one when the instance is odd; a bitmap
// then has a tag byte, a metafile a header of its own.
Picture readBlip(const EscherRecord& blip)
{
    const PictureFormat format = formatOf(blip.type);
    const size_t identifiers = kIdentifierSize * ((blip.instance & 1) ? 2 : 1);
    if (format == PictureFormat::Unsupported || blip.body.size() <= identifiers)
        return {};
    if (format == PictureFormat::Emf || format == PictureFormat::Wmf) {
        Picture metafile{format, unpackMetafile(blip.body.subspan(identifiers))};
        return metafile.data.empty() ? Picture{} : metafile;
    }
    if (blip.body.size() <= identifiers + 1)
        return {};
    return copiedBitmap(blip.body.subspan(identifiers + 1), format);
}

Picture readStoreEntry(const EscherRecord& entry)
{
    if (entry.body.size() < kEntryHeaderSize)
        return {};
    const size_t nameLength = std::to_integer<size_t>(entry.body[kEntryNameLengthOffset]);
    if (entry.body.size() < kEntryHeaderSize + nameLength)
        return {};
    const std::vector<EscherRecord> blips = escherRecords(entry.body.subspan(kEntryHeaderSize + nameLength));
    return blips.empty() ? Picture{} : readBlip(blips.front());
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
