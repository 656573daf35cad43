#include "workbook/pictures/picture_postscript.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace kx::workbook {
namespace {

enum class Colours { Colour, Grey, BlackAndWhite };

// The pixels of an RGB24 or ARGB32 surface: rows of native-endian 32-bit words.
struct Pixels {
    const unsigned char* data = nullptr;
    int width = 0, height = 0, stride = 0;

    uint32_t at(int x, int y) const
    {
        uint32_t pixel;
        std::memcpy(&pixel, data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4, 4);
        return pixel;
    }
};

uint8_t red(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 16); }
uint8_t green(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 8); }
uint8_t blue(uint32_t pixel) { return static_cast<uint8_t>(pixel); }

bool opaque(const Pixels& pixels, cairo_format_t format)
{
    if (format == CAIRO_FORMAT_RGB24)
        return true;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            if (pixels.at(x, y) >> 24 != 0xFF)
                return false;
    return true;
}

// The fewest colours that print the picture unchanged, as cairo chooses them for its own images.
Colours coloursOf(const Pixels& pixels)
{
    Colours colours = Colours::BlackAndWhite;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            const uint32_t pixel = pixels.at(x, y);
            if (red(pixel) != green(pixel) || green(pixel) != blue(pixel))
                return Colours::Colour;
            if (red(pixel) != 0 && red(pixel) != 0xFF)
                colours = Colours::Grey;
        }
    return colours;
}

// Rows from the top: three bytes a pixel, one, or one bit (white set) padded to whole bytes.
std::vector<uint8_t> samples(const Pixels& pixels, Colours colours)
{
    std::vector<uint8_t> out;
    const size_t width = static_cast<size_t>(pixels.width);
    const size_t rowBytes = colours == Colours::Colour ? 3 * width : colours == Colours::Grey ? width : (width + 7) / 8;
    out.reserve(rowBytes * static_cast<size_t>(pixels.height));
    for (int y = 0; y < pixels.height; ++y) {
        uint8_t bits = 0;
        for (int x = 0; x < pixels.width; ++x) {
            const uint32_t pixel = pixels.at(x, y);
            if (colours == Colours::Colour) {
                out.insert(out.end(), {red(pixel), green(pixel), blue(pixel)});
            } else if (colours == Colours::Grey) {
                out.push_back(red(pixel));
            } else {
                bits = static_cast<uint8_t>(bits << 1 | (red(pixel) ? 1 : 0));
                if (x % 8 == 7)
                    out.push_back(bits);
            }
        }
        if (colours == Colours::BlackAndWhite && pixels.width % 8)
            out.push_back(static_cast<uint8_t>(bits << (8 - pixels.width % 8)));
    }
    return out;
}

std::vector<uint8_t> compressed(const std::vector<uint8_t>& data)
{
    uLongf size = compressBound(data.size());
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), data.size(), Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

// Lines of ASCII85 each begun with a space, so that none starts with "%" and reads as a comment
// to programs that scan PostScript by lines; "~>" ends the data.
std::string ascii85(std::span<const uint8_t> data)
{
    constexpr size_t lineLength = 72;
    std::string out;
    out.reserve(data.size() * 5 / 4 + data.size() / lineLength + 8);
    size_t column = 0;
    const auto put = [&](char c) {
        if (column == 0)
            out.push_back(' ');
        out.push_back(c);
        if (++column == lineLength) {
            out.push_back('\n');
            column = 0;
        }
    };
    for (size_t at = 0; at < data.size(); at += 4) {
        const size_t count = std::min<size_t>(4, data.size() - at);
        uint32_t word = 0;
        for (size_t i = 0; i < 4; ++i)
            word = word << 8 | (i < count ? data[at + i] : 0);
        if (word == 0 && count == 4) {
            put('z');
            continue;
        }
        char digits[5];
        for (int i = 4; i >= 0; --i, word /= 85)
            digits[i] = static_cast<char>('!' + word % 85);
        for (size_t i = 0; i <= count; ++i)
            put(digits[i]);
    }
    if (column != 0)
        out.push_back('\n');
    return out + "~>\n";
}

}  // namespace

std::string imagePostScript(cairo_surface_t* image)
{
    if (cairo_surface_get_type(image) != CAIRO_SURFACE_TYPE_IMAGE)
        return {};
    const cairo_format_t format = cairo_image_surface_get_format(image);
    cairo_surface_flush(image);
    const Pixels pixels{cairo_image_surface_get_data(image), cairo_image_surface_get_width(image),
                        cairo_image_surface_get_height(image), cairo_image_surface_get_stride(image)};
    if ((format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) || !pixels.data || pixels.width <= 0 ||
        pixels.height <= 0 || !opaque(pixels, format))
        return {};
    const Colours colours = coloursOf(pixels);
    const std::vector<uint8_t> data = compressed(samples(pixels, colours));
    if (data.empty())
        return {};
    const std::string width = std::to_string(pixels.width), height = std::to_string(pixels.height);
    const bool colour = colours == Colours::Colour;
    // The image reads its data from the lines after the procedure that runs it, which then reads
    // on to the end of the encoded data, however much of it the image left unread.
    return std::string("5 dict begin\n") + (colour ? "/DeviceRGB" : "/DeviceGray") + " setcolorspace\n" + width +
           " " + height + " scale\n/kx_picture_data currentfile /ASCII85Decode filter def\n<<\n  /ImageType 1\n" +
           "  /Width " + width + "\n  /Height " + height + "\n  /Interpolate true\n  /BitsPerComponent " +
           (colours == Colours::BlackAndWhite ? "1" : "8") + "\n  /Decode [ " + (colour ? "0 1 0 1 0 1" : "0 1") +
           " ]\n  /DataSource kx_picture_data /FlateDecode filter\n  /ImageMatrix [ " + width + " 0 0 -" + height +
           " 0 " + height + " ]\n>>\n{ image kx_picture_data flushfile } exec\n" + ascii85(data) + "end\n";
}

}  // namespace kx::workbook
