// Metafile pictures: unpacking them from the picture store, drawing them as vectors with their
// text as text, and refusing damaged ones without harm.
#include <cairo.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "print_test_support.h"
#include "workbook/xls/metafile_blip.h"
#include "workbook/pictures/metafile_picture.h"
#include "workbook/pictures/metafile_text.h"
#include "workbook/pictures/picture_decoding.h"
#include "workbook/xls/reader.h"

namespace kx::workbook {
namespace {

namespace support = testing;

void putU32(std::vector<uint8_t>& out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// The store's header in front of a metafile: sizes, an empty frame, and the packing.
std::vector<uint8_t> metafileBlip(uint32_t size, const std::vector<uint8_t>& packed, uint8_t compression)
{
    std::vector<uint8_t> blip(34 + packed.size(), 0);
    std::copy(packed.begin(), packed.end(), blip.begin() + 34);
    putU32(blip, 0, size);
    putU32(blip, 28, static_cast<uint32_t>(packed.size()));
    blip[32] = compression;
    blip[33] = 0xFE;
    return blip;
}

std::vector<uint8_t> deflated(const std::vector<uint8_t>& data)
{
    uLongf size = compressBound(data.size());
    std::vector<uint8_t> out(size);
    EXPECT_EQ(compress(out.data(), &size, data.data(), data.size()), Z_OK);
    out.resize(size);
    return out;
}

std::vector<uint8_t> unpacked(const std::vector<uint8_t>& blip)
{
    return detail::unpackMetafile(std::as_bytes(std::span(blip)));
}

TEST(MetafileBlip, UnpacksDeflatedAndStoredMetafilesAndRefusesMismatchedSizes)
{
    std::vector<uint8_t> metafile(3000);
    for (size_t i = 0; i < metafile.size(); ++i)
        metafile[i] = static_cast<uint8_t>(i * 7 % 251);
    const std::vector<uint8_t> packed = deflated(metafile);
    const auto size = static_cast<uint32_t>(metafile.size());

    EXPECT_EQ(unpacked(metafileBlip(size, packed, 0x00)), metafile);
    EXPECT_EQ(unpacked(metafileBlip(size, metafile, 0xFE)), metafile);

    EXPECT_TRUE(unpacked(metafileBlip(size + 1, packed, 0x00)).empty());  // inflates short of its size
    EXPECT_TRUE(unpacked(metafileBlip(size - 1, packed, 0x00)).empty());  // inflates past it
    EXPECT_TRUE(unpacked(metafileBlip(size - 1, metafile, 0xFE)).empty());
    EXPECT_TRUE(unpacked(metafileBlip(size, packed, 0x07)).empty());  // unknown packing
    EXPECT_TRUE(unpacked(metafileBlip(detail::kMaxMetafileSize + 1, packed, 0x00)).empty());
    EXPECT_TRUE(unpacked(metafileBlip(0, {1}, 0xFE)).empty());
    std::vector<uint8_t> garbage = packed;
    garbage[garbage.size() / 2] ^= 0xFF;
    garbage[2] ^= 0x55;
    EXPECT_TRUE(unpacked(metafileBlip(size, garbage, 0x00)).empty());
    // Packed data that claims more than the entry holds, and headers cut anywhere.
    std::vector<uint8_t> claimsMore = metafileBlip(size, packed, 0x00);
    putU32(claimsMore, 28, static_cast<uint32_t>(packed.size() + 1));
    EXPECT_TRUE(unpacked(claimsMore).empty());
    const std::vector<uint8_t> whole = metafileBlip(size, packed, 0x00);
    for (size_t cut = 0; cut < whole.size(); cut += 97)
        EXPECT_TRUE(unpacked({whole.begin(), whole.begin() + static_cast<long>(cut)}).empty()) << cut;
}

TEST(MetafileText, TakesTheConvertersTextRunsOutAndLeavesOtherShapes)
{
    std::string svg =
        "<svg:svg width=\"100\" height=\"50\">\n<svg:g transform=\"translate(-300.0000, 616.0000)\">\n"
        "<svg:path d=\"M 0,0 L 1,1\" />\n"
        "<svg:text font-family=\"Times New Roman\" fill=\"#1020ff\" style =\"white-space:pre;\" "
        "font-weight=\"700\" text-anchor=\"start\" x=\"310.5\" y=\"-600\" font-size=\"38\" ><![CDATA[a < b]]></svg:text>\n"
        "<svg:text font-family=\"A &amp; B\" fill=\"#000000\" font-style=\"italic\" text-anchor=\"middle\" "
        "x=\"320\" y=\"-590\" font-size=\"12\" >\xEF\x82\xB7 x &amp; y</svg:text>\n"
        "<svg:text transform=\"rotate(90)\" x=\"0\" y=\"0\" font-size=\"10\" ><![CDATA[turned]]></svg:text>\n"
        "</svg:g>\n</svg:svg>\n";
    const std::vector<MetafileTextRun> runs = takeTextRuns(svg);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "a < b");
    EXPECT_DOUBLE_EQ(runs[0].x, 10.5);  // moved by the group's offset
    EXPECT_DOUBLE_EQ(runs[0].y, 16);
    EXPECT_DOUBLE_EQ(runs[0].size, 38);
    EXPECT_TRUE(runs[0].bold);
    EXPECT_FALSE(runs[0].italic);
    EXPECT_EQ(runs[0].fill, (Color{0x10, 0x20, 0xFF}));
    EXPECT_EQ(runs[1].family, "A & B");
    EXPECT_EQ(runs[1].text, "\u2022 x & y");  // the symbol font's bullet as a bullet
    EXPECT_TRUE(runs[1].italic);
    EXPECT_EQ(runs[1].anchor, TextAnchor::Middle);
    // The turned text is left for the renderer, everything else of the drawing stays as it was.
    EXPECT_EQ(svg.find("CDATA[a < b"), std::string::npos);
    EXPECT_EQ(svg.find("x &amp; y"), std::string::npos);
    EXPECT_NE(svg.find("turned"), std::string::npos);
    EXPECT_NE(svg.find("<svg:path d=\"M 0,0 L 1,1\" />"), std::string::npos);
    EXPECT_NE(svg.find("</svg:g>\n</svg:svg>"), std::string::npos);

    // Text inside a second group may be clipped or moved by it: all of it stays with the renderer.
    std::string grouped = "<svg:g transform=\"translate(0, 0)\"><svg:g clip-path=\"url(#c)\">"
                          "<svg:text x=\"1\" y=\"2\" font-size=\"3\" >t</svg:text></svg:g></svg:g>";
    const std::string before = grouped;
    EXPECT_TRUE(takeTextRuns(grouped).empty());
    EXPECT_EQ(grouped, before);
}

// A Windows metafile drawn on a 1000-unit square, one record at a time.
class WindowsMetafile {
public:
    WindowsMetafile()
    {
        // Placement header: key, no handle, frame 0,0-1000,1000, 1000 units an inch, checksum.
        words_ = {0xCDD7, 0x9AC6, 0, 0, 0, 1000, 1000, 1000, 0, 0};
        uint16_t checksum = 0;
        for (const uint16_t word : words_)
            checksum ^= word;
        words_.push_back(checksum);
        headerAt_ = words_.size();
        words_.insert(words_.end(), {1, 9, 0x0300, 0, 0, 3, 0, 0, 0});  // sizes filled in by bytes()
        record(0x020B, {0, 0});        // window origin
        record(0x020C, {1000, 1000});  // window extent
    }
    void solidPen() { record(0x02FA, {0, 30, 0, 0, 0}); }
    void brush(uint16_t style, uint16_t red) { record(0x02FC, {style, red, 0, 0}); }
    void select(uint16_t object) { record(0x012D, {object}); }
    void polyline(uint16_t function, std::initializer_list<std::pair<uint16_t, uint16_t>> points)
    {
        std::vector<uint16_t> parameters{static_cast<uint16_t>(points.size())};
        for (const auto& [x, y] : points)
            parameters.insert(parameters.end(), {x, y});
        record(function, parameters);
    }
    std::vector<uint8_t> bytes()
    {
        std::vector<uint16_t> words = words_;
        words.insert(words.end(), {3, 0, 0});  // end of file
        const uint32_t size = static_cast<uint32_t>(words.size() - headerAt_);
        words[headerAt_ + 3] = static_cast<uint16_t>(size);
        words[headerAt_ + 4] = static_cast<uint16_t>(size >> 16);
        words[headerAt_ + 6] = static_cast<uint16_t>(longest_);
        std::vector<uint8_t> out;
        for (const uint16_t word : words)
            out.insert(out.end(), {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)});
        return out;
    }

private:
    void record(uint16_t function, const std::vector<uint16_t>& parameters)
    {
        const uint32_t size = static_cast<uint32_t>(3 + parameters.size());
        longest_ = std::max(longest_, size);
        words_.insert(words_.end(), {static_cast<uint16_t>(size), static_cast<uint16_t>(size >> 16), function});
        words_.insert(words_.end(), parameters.begin(), parameters.end());
    }
    std::vector<uint16_t> words_;
    size_t headerAt_ = 0;
    uint32_t longest_ = 0;
};

// The opacity of each pixel of the picture drawn 200 pixels square.
std::vector<uint8_t> drawnAlpha(const SurfacePtr& picture)
{
    cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_A8, 200, 200);
    cairo_t* cr = cairo_create(page);
    EXPECT_TRUE(paintMetafile(cr, picture.get(), Box{0, 0, 200, 200}));
    cairo_destroy(cr);
    cairo_surface_flush(page);
    std::vector<uint8_t> alpha(200 * 200);
    for (int y = 0; y < 200; ++y)
        std::copy_n(cairo_image_surface_get_data(page) + y * cairo_image_surface_get_stride(page), 200,
                    alpha.begin() + y * 200);
    cairo_surface_destroy(page);
    return alpha;
}

TEST(WindowsMetafiles, OnlyWhatABrushFillsIsFilled)
{
    constexpr uint16_t polyline = 0x0325, polygon = 0x0324, solid = 0, hollow = 1;
    WindowsMetafile metafile;
    metafile.solidPen();  // object 0
    metafile.select(0);
    metafile.polyline(polyline, {{100, 100}, {250, 900}, {400, 100}});
    metafile.brush(hollow, 0);  // object 1
    metafile.select(1);
    metafile.polyline(polygon, {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
    metafile.brush(solid, 0xFF);  // object 2
    metafile.select(2);
    metafile.polyline(polygon, {{450, 700}, {550, 700}, {550, 800}, {450, 800}});
    const SurfacePtr picture = renderMetafile({PictureFormat::Wmf, metafile.bytes()});
    ASSERT_TRUE(picture);
    const std::vector<uint8_t> alpha = drawnAlpha(picture);
    const auto at = [&alpha](int x, int y) { return alpha[y / 5 * 200 + x / 5]; };
    EXPECT_GT(at(175, 500), 0) << "the open line's stroke";
    EXPECT_EQ(at(250, 400), 0) << "inside the open line";
    EXPECT_GT(at(5, 500), 0) << "the hollow frame's outline";
    EXPECT_EQ(at(750, 400), 0) << "inside the hollow frame";
    EXPECT_EQ(at(500, 750), 255) << "inside the filled shape";
}

// An enhanced metafile of 100 by 100 device pixels (26.45 mm at 96 dpi) holding `records`.
std::vector<uint8_t> enhancedMetafile(const std::vector<std::vector<int32_t>>& records)
{
    std::vector<int32_t> words{1, 88, 0, 0, 99, 99, 0, 0, 2645, 2645, 0x464D4520, 0x10000, 0, 0, 2, 0, 0, 0, 100, 100, 26, 26};
    for (const auto& record : records)
        words.insert(words.end(), record.begin(), record.end());
    words.insert(words.end(), {14, 20, 0, 0, 20});
    words[12] = static_cast<int32_t>(words.size() * 4);
    words[13] = static_cast<int32_t>(records.size() + 2);
    std::vector<uint8_t> bytes(words.size() * 4);
    for (size_t i = 0; i < words.size(); ++i)
        putU32(bytes, 4 * i, static_cast<uint32_t>(words[i]));
    return bytes;
}

TEST(EnhancedMetafiles, AClippingRegionClipsWhatIsDrawnInIt)
{
    const std::vector<int32_t> redBrush{39, 24, 1, 0, 0x0000FF, 0}, selectIt{37, 12, 1},
        clipTo{30, 24, 10, 10, 60, 60}, rectangle{43, 24, 0, 0, 90, 90};
    const SurfacePtr picture = renderMetafile({PictureFormat::Emf, enhancedMetafile({redBrush, selectIt, clipTo, rectangle})});
    ASSERT_TRUE(picture);
    const std::vector<uint8_t> alpha = drawnAlpha(picture);
    const auto at = [&alpha](int x, int y) { return alpha[y * 2 * 200 + x * 2]; };
    EXPECT_EQ(at(35, 35), 255) << "inside the clip";
    EXPECT_EQ(at(80, 80), 0) << "outside the clip";
}

class CorpusMetafiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::is_directory(support::corpusFolder()))
            GTEST_SKIP() << "no corpus at " << support::corpusFolder() << " (set KX_CORPUS_DIR)";
    }
    static Workbook open(const std::string& name) { return openWorkbook((support::corpusFolder() / name).string()); }
    static cairo_rectangle_t extents(cairo_surface_t* surface)
    {
        cairo_rectangle_t rectangle{};
        EXPECT_TRUE(cairo_recording_surface_get_extents(surface, &rectangle));
        return rectangle;
    }
    // Draws the picture into a small box of an image page; true when it drew anything.
    static bool inks(cairo_surface_t* picture)
    {
        cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 200);
        cairo_t* cr = cairo_create(page);
        const bool painted = paintMetafile(cr, picture, Box{10, 10, 180, 180});
        cairo_surface_flush(page);
        const unsigned char* data = cairo_image_surface_get_data(page);
        bool inked = false;
        for (int i = 0; i < cairo_image_surface_get_stride(page) * 200 && !inked; ++i)
            inked = data[i] != 0;
        EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
        cairo_destroy(cr);
        cairo_surface_destroy(page);
        return painted && inked;
    }
    support::ScratchFolder scratch;
};

TEST_F(CorpusMetafiles, EnhancedAndWindowsMetafilesDrawAtTheirFramesSize)
{
    const Workbook angelo = open("poi-angelo-edu-nsse-2011.xls");
    ASSERT_GE(angelo.pictures.size(), 1u);
    ASSERT_EQ(angelo.pictures[0].format, PictureFormat::Emf);
    const SurfacePtr paragraph = renderMetafile(angelo.pictures[0]);
    ASSERT_TRUE(paragraph);
    // The header's frame (2103 by 1199 device pixels), not the smaller rectangle the ink covers.
    EXPECT_NEAR(extents(paragraph.get()).width, 2103, 2);
    EXPECT_NEAR(extents(paragraph.get()).height, 1199, 2);
    EXPECT_TRUE(inks(paragraph.get()));

    const Workbook images = open("poi-SimpleWithImages.xls");
    ASSERT_EQ(images.pictures.size(), 4u);
    ASSERT_EQ(images.pictures[2].format, PictureFormat::Wmf);
    ASSERT_EQ(images.pictures[3].format, PictureFormat::Emf);
    for (const Picture& picture : {images.pictures[2], images.pictures[3]}) {
        const SurfacePtr surface = renderMetafile(picture);
        ASSERT_TRUE(surface);
        EXPECT_GT(extents(surface.get()).width, 50);
        EXPECT_GT(extents(surface.get()).height, 50);
        EXPECT_TRUE(inks(surface.get()));
    }
    // A bitmap is not a metafile: the painter leaves it to the bitmap path.
    const SurfacePtr bitmap = decodePicture(images.pictures[0]);
    ASSERT_TRUE(bitmap);
    cairo_t* cr = cairo_create(bitmap.get());
    EXPECT_FALSE(paintMetafile(cr, bitmap.get(), Box{0, 0, 10, 10}));
    cairo_destroy(cr);
}

TEST_F(CorpusMetafiles, DamagedMetafilesDrawNothingOrSomethingButNeverFail)
{
    const Workbook images = open("poi-SimpleWithImages.xls");
    ASSERT_EQ(images.pictures.size(), 4u);
    for (const Picture& original : {images.pictures[2], images.pictures[3]}) {
        const size_t size = original.data.size();
        // Cut short: the records no longer reach their end, so nothing is handed on.
        for (size_t cut = 0; cut < size; cut += size / 13 + 1) {
            Picture cutShort{original.format, {original.data.begin(), original.data.begin() + static_cast<long>(cut)}};
            EXPECT_FALSE(renderMetafile(cutShort)) << cut;
        }
        // Bytes changed inside the records: whatever comes out must paint without harm.
        for (size_t at = 0; at < size; at += size / 29 + 1) {
            Picture changed = original;
            changed.data[at] ^= 0xA5;
            if (const SurfacePtr surface = renderMetafile(changed))
                inks(surface.get());
        }
    }
    // A viewport extent and polygon counts damaged so that points lie a billion units away:
    // refused, where drawing them would take cairo minutes.
    Picture farAway = images.pictures[3];
    for (const auto& [at, value] : {std::pair<size_t, uint8_t>{203, 0xCC}, {505, 0xED}, {1281, 0x01},
                                    {2354, 0x7A}, {4655, 0x28}, {5325, 0xF1}})
        farAway.data.at(at) = value;
    EXPECT_FALSE(renderMetafile(farAway));

    // Text given as glyph numbers would make the converter shut fontconfig down under pango.
    const Workbook angelo = open("poi-angelo-edu-nsse-2011.xls");
    Picture glyphNumbers = angelo.pictures.at(1);
    ASSERT_TRUE(renderMetafile(glyphNumbers));
    const size_t firstText = 9044 - 52;  // the options of an extended text record
    ASSERT_EQ(glyphNumbers.data.at(firstText), 84);
    glyphNumbers.data.at(9044) |= 0x10;
    EXPECT_FALSE(renderMetafile(glyphNumbers));

    EXPECT_FALSE(renderMetafile({PictureFormat::Emf, std::vector<uint8_t>(200, 0xFF)}));
    EXPECT_FALSE(renderMetafile({PictureFormat::Wmf, std::vector<uint8_t>(200, 0x00)}));
    EXPECT_FALSE(renderMetafile({PictureFormat::Emf, {}}));
}

TEST_F(CorpusMetafiles, MetafileTextPrintsAsSearchableText)
{
    const auto pdf = support::printToPdf(open("poi-angelo-edu-nsse-2011.xls"), scratch);
    const std::string text = support::pdfText(pdf);
    // Each phrase spans runs that the metafile places one after another on a line: where they
    // meet, a reader must find neither a gap inside a word nor words run together.
    for (const char* phrase : {"For institutions that have participated in multiple NSSE administrations, this",
                               "were rescaled in 2004", "complicating multi-year analysis",
                               "Recalculated benchmark scores"})
        EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
}

TEST_F(CorpusMetafiles, WindowsMetafileFillsPrintAsVectorsNotPixels)
{
    // Four filled Windows metafiles beside one bitmap that two pages show: a fill that the
    // PostScript could not express would come out as an image of its own.
    const auto pdf = support::printToPdf(open("poi-15556.xls"), scratch);
    EXPECT_EQ(support::pdfImageCount(pdf), 2);
}

}  // namespace
}  // namespace kx::workbook
