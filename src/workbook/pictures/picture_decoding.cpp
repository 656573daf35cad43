#include "workbook/pictures/picture_decoding.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "workbook/pictures/metafile_picture.h"
#include "workbook/pictures/picture_postscript.h"

namespace kx::workbook {
namespace {

constexpr size_t bitmapFileHeaderSize = 14;
constexpr size_t bitmapInfoHeaderSize = 40;
constexpr uint32_t bitFieldsCompression = 3;

struct PixbufDeleter {
    void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, PixbufDeleter>;

struct ReadCursor {
    std::span<const uint8_t> data;
    size_t position = 0;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length)
{
    auto* cursor = static_cast<ReadCursor*>(closure);
    if (cursor->data.size() - cursor->position < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, cursor->data.data() + cursor->position, length);
    cursor->position += length;
    return CAIRO_STATUS_SUCCESS;
}

SurfacePtr checked(cairo_surface_t* surface)
{
    SurfacePtr owned(surface);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    return owned;
}

uint32_t le32(const std::vector<uint8_t>& data, size_t at)
{
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}

void putLe32(std::vector<uint8_t>& data, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A stored bitmap lacks the file header that image loaders expect in front of it; the header
// says where the pixels start, after the info header, colour masks and palette.
std::vector<uint8_t> bitmapFile(const std::vector<uint8_t>& dib)
{
    if (dib.size() < bitmapInfoHeaderSize)
        return {};
    const uint32_t headerSize = le32(dib, 0);
    const uint16_t bitCount = static_cast<uint16_t>(dib[14] | dib[15] << 8);
    const uint32_t compression = le32(dib, 16);
    const uint32_t coloursUsed = le32(dib, 32);
    const uint64_t paletteEntries = coloursUsed ? coloursUsed : bitCount <= 8 ? 1u << bitCount : 0;
    const uint64_t masks = compression == bitFieldsCompression && headerSize == bitmapInfoHeaderSize ? 12 : 0;
    const uint64_t pixelsAt = bitmapFileHeaderSize + headerSize + masks + paletteEntries * 4;
    if (pixelsAt > bitmapFileHeaderSize + dib.size())
        return {};
    std::vector<uint8_t> file(bitmapFileHeaderSize);
    file[0] = 'B';
    file[1] = 'M';
    putLe32(file, 2, static_cast<uint32_t>(bitmapFileHeaderSize + dib.size()));
    putLe32(file, 10, static_cast<uint32_t>(pixelsAt));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

PixbufPtr loadPixbuf(const std::vector<uint8_t>& data)
{
    if (data.empty())
        return nullptr;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    const bool written = gdk_pixbuf_loader_write(loader, data.data(), data.size(), nullptr);
    const bool closed = gdk_pixbuf_loader_close(loader, nullptr);
    GdkPixbuf* pixbuf = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    PixbufPtr owned(pixbuf ? GDK_PIXBUF(g_object_ref(pixbuf)) : nullptr);
    g_object_unref(loader);
    return owned;
}

// Cairo keeps premultiplied, native-endian ARGB words; the pixbuf has bytes R, G, B (and A).
SurfacePtr surfaceFromPixbuf(GdkPixbuf* pixbuf)
{
    const int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf), stride = gdk_pixbuf_get_rowstride(pixbuf);
    if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < 3)
        return nullptr;
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    SurfacePtr surface = checked(cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width, height));
    if (!surface)
        return nullptr;
    const guint8* source = gdk_pixbuf_read_pixels(pixbuf);
    unsigned char* target = cairo_image_surface_get_data(surface.get());
    const int targetStride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        const guint8* in = source + static_cast<size_t>(y) * stride;
        auto* out = reinterpret_cast<uint32_t*>(target + static_cast<size_t>(y) * targetStride);
        for (int x = 0; x < width; ++x, in += channels) {
            const uint32_t a = alpha ? in[3] : 255;
            const auto premultiply = [a](uint32_t value) { return (value * a + 127) / 255; };
            out[x] = a << 24 | premultiply(in[0]) << 16 | premultiply(in[1]) << 8 | premultiply(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

// Cairo keeps its own copy, freed with the surface.
void attachMimeData(cairo_surface_t* surface, const char* mimeType, std::span<const uint8_t> data)
{
    auto* copy = static_cast<unsigned char*>(std::malloc(data.size()));
    if (!copy)
        return;
    std::memcpy(copy, data.data(), data.size());
    if (cairo_surface_set_mime_data(surface, mimeType, copy, data.size(), std::free, copy) != CAIRO_STATUS_SUCCESS)
        std::free(copy);
}

std::span<const uint8_t> bytesOf(const std::string& text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Unique within the print: the surfaces live as long as the print does.
void attachIdentity(cairo_surface_t* surface, uint32_t index)
{
    const std::string identity = "kx-picture-" + std::to_string(index);
    attachMimeData(surface, CAIRO_MIME_TYPE_UNIQUE_ID, bytesOf(identity));
}

// Cairo's PostScript output embeds attached PostScript as it is, before looking at a JPEG or at
// the pixels, so a JPEG keeps its stored bytes instead. Says whether it attached any.
bool attachPostScript(cairo_surface_t* surface)
{
    const unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    cairo_surface_get_mime_data(surface, CAIRO_MIME_TYPE_JPEG, &jpeg, &jpegSize);
    const std::string postScript = jpeg ? std::string() : imagePostScript(surface);
    if (postScript.empty())
        return false;
    const std::string box = "bbox=[0 0 " + std::to_string(cairo_image_surface_get_width(surface)) + " " +
                            std::to_string(cairo_image_surface_get_height(surface)) + "]";
    attachMimeData(surface, CAIRO_MIME_TYPE_EPS, bytesOf(postScript));
    attachMimeData(surface, CAIRO_MIME_TYPE_EPS_PARAMS, bytesOf(box));
    return true;
}

// Cairo writes attached PostScript again at every use, but keeps a recording that has an
// identity as one copy that all pages share. So a picture with its PostScript goes to the page
// inside a recording of it, which is cheap to replay: the PostScript is copied, not made again.
SurfacePtr printable(SurfacePtr picture)
{
    if (!picture || cairo_surface_get_type(picture.get()) != CAIRO_SURFACE_TYPE_IMAGE || !attachPostScript(picture.get()))
        return picture;
    const cairo_rectangle_t extents{0, 0, static_cast<double>(cairo_image_surface_get_width(picture.get())),
                                    static_cast<double>(cairo_image_surface_get_height(picture.get()))};
    SurfacePtr recording = checked(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents));
    if (!recording)
        return picture;
    cairo_t* cr = cairo_create(recording.get());
    cairo_set_source_surface(cr, picture.get(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return recording;
}

}  // namespace

SurfacePtr decodePicture(const Picture& picture)
{
    switch (picture.format) {
    case PictureFormat::Png: {
        ReadCursor cursor{picture.data};
        return checked(cairo_image_surface_create_from_png_stream(readPng, &cursor));
    }
    case PictureFormat::Jpeg: {
        const PixbufPtr pixbuf = loadPixbuf(picture.data);
        SurfacePtr surface = pixbuf ? surfaceFromPixbuf(pixbuf.get()) : nullptr;
        if (surface)
            attachMimeData(surface.get(), CAIRO_MIME_TYPE_JPEG, picture.data);
        return surface;
    }
    case PictureFormat::Dib: {
        const PixbufPtr pixbuf = loadPixbuf(bitmapFile(picture.data));
        return pixbuf ? surfaceFromPixbuf(pixbuf.get()) : nullptr;
    }
    case PictureFormat::Emf:
    case PictureFormat::Wmf: return renderMetafile(picture);
    case PictureFormat::Unsupported: break;
    }
    return nullptr;
}

PictureSize pictureSize(cairo_surface_t* picture)
{
    if (cairo_surface_get_type(picture) == CAIRO_SURFACE_TYPE_IMAGE)
        return {static_cast<double>(cairo_image_surface_get_width(picture)),
                static_cast<double>(cairo_image_surface_get_height(picture))};
    cairo_rectangle_t extents{};
    if (cairo_surface_get_type(picture) == CAIRO_SURFACE_TYPE_RECORDING &&
        cairo_recording_surface_get_extents(picture, &extents))
        return {extents.width, extents.height};
    return {};
}

cairo_surface_t* DecodedPictures::surface(uint32_t index)
{
    auto [entry, added] = surfaces_.try_emplace(index);
    if (added) {
        if (index < workbook_.pictures.size())
            entry->second = printable(decodePicture(workbook_.pictures[index]));
        if (entry->second)
            attachIdentity(entry->second.get(), index);
        else if (warnings_)
            warnings_->add("picture " + std::to_string(index + 1) + " of the workbook's " +
                           std::to_string(workbook_.pictures.size()) + " cannot be drawn; it prints blank");
    }
    return entry->second.get();
}

}  // namespace kx::workbook
