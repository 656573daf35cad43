#include "workbook/pictures/metafile_picture.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
#include <librsvg/rsvg.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "workbook/pictures/metafile_text.h"

namespace kx::workbook {
namespace {

// Larger frames are refused: no printed picture needs them, and drawing one down to the size
// of a page would lose what precision cairo's fixed-point coordinates have.
constexpr double kMaxFrame = 100000;
// Converted pictures larger than this are refused rather than parsed.
constexpr size_t kMaxSvgSize = 64u << 20;

uint32_t le32(const std::vector<uint8_t>& data, size_t at)
{
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}

uint16_t le16(const std::vector<uint8_t>& data, size_t at)
{
    return static_cast<uint16_t>(data[at] | data[at + 1] << 8);
}

// Text given as glyph numbers: the converter looks such fonts up through fontconfig and then
// shuts fontconfig down under the feet of pango, which aborts the program. Such a metafile
// is not handed to it.
bool drawsGlyphNumbers(const std::vector<uint8_t>& data, size_t record, uint32_t type, uint32_t size)
{
    constexpr uint32_t extTextA = 83, extTextW = 84, polyTextA = 96, polyTextW = 97, smallText = 108;
    constexpr uint32_t glyphIndexOption = 0x10;
    // Options of the text part after bounds, graphics mode and scales; the several text parts
    // of a poly-text record follow a count, each 40 bytes long.
    constexpr size_t extTextOptions = 52, smallTextOptions = 20, polyTextCount = 36, polyTextPart = 40;
    const auto optionsAt = [&](size_t offset) {
        return offset + 4 <= size && (le32(data, record + offset) & glyphIndexOption) != 0;
    };
    if (type == extTextA || type == extTextW)
        return optionsAt(extTextOptions);
    if (type == smallText)
        return optionsAt(smallTextOptions);
    if (type == polyTextA || type == polyTextW) {
        const uint64_t parts = size >= polyTextCount + 4 ? le32(data, record + polyTextCount) : 0;
        for (uint64_t part = 0; part < parts && polyTextCount + 4 + (part + 1) * polyTextPart <= size; ++part)
            if (optionsAt(polyTextCount + 4 + part * polyTextPart + 16))
                return true;
    }
    return false;
}

// An enhanced metafile is a chain of records, each with its type and byte size, from a header
// that gives the whole size and signature to an end record. The converter trusts that chain,
// so it is walked here first.
bool emfIsSafeToConvert(const std::vector<uint8_t>& data)
{
    constexpr uint32_t headerType = 1, endType = 14, signature = 0x464D4520;  // " EMF"
    constexpr size_t minHeaderSize = 88;
    if (data.size() < minHeaderSize || le32(data, 0) != headerType || le32(data, 40) != signature)
        return false;
    const uint64_t total = le32(data, 48);
    if (total > data.size() || le32(data, 4) < minHeaderSize)
        return false;
    for (uint64_t at = 0; at + 8 <= total;) {
        const uint32_t type = le32(data, at), size = le32(data, at + 4);
        if (size < 8 || size % 4 != 0 || at + size > total || drawsGlyphNumbers(data, at, type, size))
            return false;
        if (type == endType)
            return true;
        at += size;
    }
    return false;
}

// A Windows metafile: an optional placement header, the file header giving the header size in
// 16-bit words, then records each with its size in words, up to an end record.
bool wmfHoldsTogether(const std::vector<uint8_t>& data)
{
    constexpr uint32_t placementKey = 0x9AC6CDD7;
    constexpr size_t placementSize = 22, headerSize = 18;
    const size_t start = data.size() >= 4 && le32(data, 0) == placementKey ? placementSize : 0;
    if (data.size() < start + headerSize || le16(data, start + 2) != headerSize / 2)
        return false;
    for (size_t at = start + headerSize; at + 6 <= data.size();) {
        const uint64_t size = 2ull * le32(data, at);
        if (size < 6 || at + size > data.size())
            return false;
        if (le16(data, at + 4) == 0)
            return true;
        at += size;
    }
    return false;
}

// Copied once with every `from` replaced: replacing each in place would move the rest of a
// drawing, embedded pictures and all, once for every replacement.
std::string replacingAll(const std::string& text, std::string_view from, std::string_view to)
{
    std::string replaced;
    replaced.reserve(text.size());
    size_t copied = 0;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, copied)) {
        replaced.append(text, copied, at - copied);
        replaced += to;
        copied = at + from.size();
    }
    replaced.append(text, copied);
    return replaced;
}

// The converter opens a clipping region's elements with the name space and closes them
// without it, which no SVG reader accepts: a picture that clips would print nothing.
std::string withClipPathsClosed(const std::string& svg)
{
    return replacingAll(svg, "</clipPath></defs>", "</svg:clipPath></svg:defs>");
}

std::string emfToSvg(const std::vector<uint8_t>& data)
{
    if (!emfIsSafeToConvert(data))
        return {};
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("svg");
    options.svgDelimiter = true;
    char* out = nullptr;
    size_t length = 0;
    std::vector<uint8_t> input = data;  // the converter takes a writable buffer
    const int converted = emf2svg(reinterpret_cast<char*>(input.data()), input.size(), &out, &length, &options);
    std::string svg = converted && out ? std::string(out, length) : std::string();
    std::free(out);
    return withClipPathsClosed(svg);
}

class WmfConverter {
public:
    WmfConverter()
    {
        wmfAPI_Options options{};
        options.function = wmf_svg_function;
        constexpr unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&api_, flags, &options) != wmf_E_None)
            api_ = nullptr;  // a failed create has already released what it made
    }
    ~WmfConverter()
    {
        if (api_)
            wmf_api_destroy(api_);
    }
    WmfConverter(const WmfConverter&) = delete;
    WmfConverter& operator=(const WmfConverter&) = delete;

    std::string svg(std::vector<uint8_t> data)
    {
        wmfD_Rect frame{};
        float width = 0, height = 0;
        if (!api_ || wmf_mem_open(api_, data.data(), static_cast<long>(data.size())) != wmf_E_None ||
            wmf_scan(api_, 0, &frame) != wmf_E_None || wmf_size(api_, &width, &height) != wmf_E_None ||
            !(width >= 1 && height >= 1 && width <= kMaxFrame && height <= kMaxFrame))
            return {};
        wmf_svg_t* device = WMF_SVG_GetData(api_);
        device->out = wmf_stream_create(api_, nullptr);
        device->Description = const_cast<char*>("");
        device->bbox = frame;
        device->width = static_cast<unsigned>(std::lround(width));
        device->height = static_cast<unsigned>(std::lround(height));
        device->flags |= WMF_SVG_INLINE_IMAGES;
        const bool played = wmf_play(api_, 0, &frame) == wmf_E_None;
        char* out = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(api_, device->out, &out, &length);
        std::string svg = played && out ? std::string(out, length) : std::string();
        wmf_free(api_, out);
        return normalised(std::move(svg));
    }

private:
    // The converter leaves the document element outside any namespace, where SVG readers do
    // not take it for SVG, and fills at half opacity, which a metafile's fills never have and
    // which PostScript can only print as pixels. It also writes no fill at all for what a
    // metafile only strokes, such as lines, which SVG would then fill black: the drawing's own
    // default says unfilled.
    static std::string normalised(std::string svg)
    {
        const size_t element = svg.find("<svg ");
        if (element == std::string::npos)
            return {};
        svg.insert(element + 5, "xmlns=\"http://www.w3.org/2000/svg\" fill=\"none\" ");
        return replacingAll(svg, "fill-opacity:0.5;", "fill-opacity:1;");
    }

    wmfAPI* api_ = nullptr;
};

// The part of the converted drawing that the picture's frame covers, in the drawing's units.
struct Frame {
    double x = 0, y = 0, width = 0, height = 0;
};

struct MetafileDrawing {
    RsvgHandle* svg = nullptr;
    double width = 0, height = 0;  // the converted drawing's own size
    Frame frame;
    std::vector<MetafileTextRun> text;  // drawn after the rest, as text
};

const cairo_user_data_key_t drawingKey{};

void releaseDrawing(void* data)
{
    auto* drawing = static_cast<MetafileDrawing*>(data);
    g_object_unref(drawing->svg);
    delete drawing;
}

bool usableFrame(const Frame& frame)
{
    return frame.width >= 1 && frame.height >= 1 && frame.width <= kMaxFrame && frame.height <= kMaxFrame &&
           std::isfinite(frame.x) && std::isfinite(frame.y);
}

// The converter draws the rectangle that the records ink, moved to the origin; the picture is
// the header's frame (in hundredths of a millimetre), which may hold a margin around the ink.
Frame emfFrame(const std::vector<uint8_t>& data, const Frame& drawn)
{
    const auto at = [&data](size_t offset) { return static_cast<int32_t>(le32(data, offset)); };
    const double pixelsX = at(72), pixelsY = at(76), millimetresX = at(80), millimetresY = at(84);
    if (pixelsX <= 0 || pixelsY <= 0 || millimetresX <= 0 || millimetresY <= 0)
        return drawn;
    const double scaleX = pixelsX / (millimetresX * 100), scaleY = pixelsY / (millimetresY * 100);
    const Frame frame{at(24) * scaleX - at(8), at(28) * scaleY - at(12), (at(32) - at(24)) * scaleX,
                      (at(36) - at(28)) * scaleY};
    return usableFrame(frame) ? frame : drawn;
}

// Coordinates of eight or more whole digits: damaged records that cairo would spend minutes
// tessellating. Numbers are told from the digits of embedded base64 data by what stands
// before them, which base64 never holds, and from the numbers of names such as "clip-1804289383"
// by the letter before the dash.
bool hasAbsurdCoordinates(const std::string& svg)
{
    constexpr size_t mostDigits = 7;
    size_t digits = 0;
    bool inNumber = false;
    char beforePrevious = ' ', previous = ' ';
    // From the document element on: the document type before it names a dated standard.
    const size_t element = svg.find("<svg");
    for (const char c : std::string_view(svg).substr(element == std::string::npos ? 0 : element)) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            if (digits == 0)
                inNumber = std::string_view(" ,-\"(").find(previous) != std::string_view::npos &&
                           !(previous == '-' && std::isalpha(static_cast<unsigned char>(beforePrevious)));
            if (++digits > mostDigits && inNumber)
                return true;
        } else {
            digits = 0;
        }
        beforePrevious = previous;
        previous = c;
    }
    return false;
}

std::unique_ptr<MetafileDrawing> parsedSvg(std::string svg)
{
    if (svg.empty() || svg.size() > kMaxSvgSize || hasAbsurdCoordinates(svg))
        return nullptr;
    auto drawing = std::make_unique<MetafileDrawing>();
    drawing->text = takeTextRuns(svg);
    drawing->svg = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), nullptr);
    if (!drawing->svg)
        return nullptr;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(drawing->svg, &drawing->width, &drawing->height) ||
        !usableFrame({0, 0, drawing->width, drawing->height})) {
        g_object_unref(drawing->svg);
        return nullptr;
    }
    drawing->frame = {0, 0, drawing->width, drawing->height};
    return drawing;
}

SurfacePtr carrier(std::unique_ptr<MetafileDrawing> drawing)
{
    if (!drawing)
        return nullptr;
    const cairo_rectangle_t extents{0, 0, drawing->frame.width, drawing->frame.height};
    SurfacePtr surface(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents));
    if (cairo_surface_set_user_data(surface.get(), &drawingKey, drawing.get(), releaseDrawing) != CAIRO_STATUS_SUCCESS) {
        g_object_unref(drawing->svg);
        return nullptr;
    }
    drawing.release();
    return surface;
}

}  // namespace

SurfacePtr renderMetafile(const Picture& picture)
{
    if (picture.format == PictureFormat::Emf) {
        std::unique_ptr<MetafileDrawing> drawing = parsedSvg(emfToSvg(picture.data));
        if (drawing)
            drawing->frame = emfFrame(picture.data, drawing->frame);
        return carrier(std::move(drawing));
    }
    if (picture.format == PictureFormat::Wmf && wmfHoldsTogether(picture.data))
        return carrier(parsedSvg(WmfConverter().svg(picture.data)));
    return nullptr;
}

bool paintMetafile(cairo_t* cr, cairo_surface_t* picture, const Box& box)
{
    const auto* drawing = static_cast<const MetafileDrawing*>(cairo_surface_get_user_data(picture, &drawingKey));
    if (!drawing)
        return false;
    if (box.width <= 0 || box.height <= 0)
        return true;
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_clip(cr);
    cairo_translate(cr, box.x, box.y);
    cairo_scale(cr, box.width / drawing->frame.width, box.height / drawing->frame.height);
    cairo_translate(cr, -drawing->frame.x, -drawing->frame.y);
    const RsvgRectangle viewport{0, 0, drawing->width, drawing->height};
    rsvg_handle_render_document(drawing->svg, cr, &viewport, nullptr);
    paintTextRuns(cr, drawing->text);
    cairo_restore(cr);
    return true;
}

}  // namespace kx::workbook
