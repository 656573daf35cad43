// The PostScript that an opaque picture carries into the print: Ghostscript must draw from it
// exactly the picture's pixels, in colour, grey or black and white.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "print_test_support.h"
#include "workbook/pictures/picture_decoding.h"
#include "workbook/pictures/picture_postscript.h"

namespace kx::workbook {
namespace {

namespace support = testing;

// Odd sizes, so that black-and-white rows end inside a byte.
constexpr int width = 13, height = 5;

SurfacePtr pictureOf(cairo_format_t format, const std::function<uint32_t(int x, int y)>& pixel)
{
    SurfacePtr surface(cairo_image_surface_create(format, width, height));
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t value = pixel(x, y);
            std::memcpy(data + y * stride + x * 4, &value, 4);
        }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

uint32_t grey(uint8_t level) { return 0xFF000000u | level * 0x010101u; }

class PicturePostScript : public ::testing::Test {
protected:
    // The picture's pixels, as Ghostscript draws them from its PostScript, compared with its own.
    void expectDrawnAsStored(cairo_surface_t* picture, const char* kind)
    {
        const std::string postScript = imagePostScript(picture);
        ASSERT_FALSE(postScript.empty()) << kind;
        const auto path = scratch.path(std::string(kind) + ".ps");
        std::ofstream(path) << "%!PS\n" << postScript << "showpage\n";
        const std::vector<uint8_t> drawn = support::renderedPixels(path, width, height);
        ASSERT_EQ(drawn.size(), size_t{width * height * 3}) << kind;
        const unsigned char* data = cairo_image_surface_get_data(picture);
        const int stride = cairo_image_surface_get_stride(picture);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint32_t stored;
                std::memcpy(&stored, data + y * stride + x * 4, 4);
                const uint8_t* rgb = &drawn[(static_cast<size_t>(y) * width + x) * 3];
                EXPECT_EQ((rgb[0] << 16 | rgb[1] << 8 | rgb[2]), static_cast<int>(stored & 0xFFFFFF))
                    << kind << " at " << x << "," << y;
            }
    }
    support::ScratchFolder scratch;
};

TEST_F(PicturePostScript, GhostscriptDrawsThePixelsOfEachKindOfPicture)
{
    const SurfacePtr colour = pictureOf(CAIRO_FORMAT_RGB24, [](int x, int y) {
        return static_cast<uint32_t>(x * 19 << 16 | y * 61 << 8 | (x + y) * 9);
    });
    const SurfacePtr greys = pictureOf(CAIRO_FORMAT_ARGB32, [](int x, int y) { return grey(static_cast<uint8_t>(x * 20 + y)); });
    const SurfacePtr blackAndWhite = pictureOf(CAIRO_FORMAT_ARGB32, [](int x, int y) { return grey((x * x + y) % 5 < 2 ? 0xFF : 0); });
    expectDrawnAsStored(colour.get(), "colour");
    expectDrawnAsStored(greys.get(), "grey");
    expectDrawnAsStored(blackAndWhite.get(), "black-and-white");
    EXPECT_NE(imagePostScript(colour.get()).find("/DeviceRGB"), std::string::npos);
    EXPECT_NE(imagePostScript(greys.get()).find("/BitsPerComponent 8"), std::string::npos);
    EXPECT_NE(imagePostScript(blackAndWhite.get()).find("/BitsPerComponent 1"), std::string::npos);
}

// Cairo prints these itself: see-through pixels need its own treatment, and masks are not pictures.
TEST_F(PicturePostScript, PicturesWithTransparencyOrWithoutColourAreLeftToCairo)
{
    const SurfacePtr seeThrough = pictureOf(CAIRO_FORMAT_ARGB32, [](int x, int) { return x == 3 ? 0x80402010u : grey(0x40); });
    const SurfacePtr mask(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    EXPECT_TRUE(imagePostScript(seeThrough.get()).empty());
    EXPECT_TRUE(imagePostScript(mask.get()).empty());
}

}  // namespace
}  // namespace kx::workbook
