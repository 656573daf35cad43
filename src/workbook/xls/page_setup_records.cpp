#include "workbook/xls/page_setup_records.h"

#include <algorithm>
#include <cmath>

#include "workbook/xls/record_types.h"
#include "workbook/xls/text_decoding.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kMinimumScale = 10;
constexpr uint16_t kMaximumScale = 400;
constexpr double kLargestMargin = 49.0;  // inches; the spreadsheet program refuses more

enum SetupFlag : uint16_t {
    OverThenDown = 0x0001,
    Portrait = 0x0002,
    PrinterValuesInvalid = 0x0004,  // paper size, scale, orientation and resolution not set
    BlackAndWhite = 0x0008,
    PrintComments = 0x0020,
    OrientationInvalid = 0x0040,
    UseFirstPageNumber = 0x0080,
    CommentsAtEnd = 0x0200,
};

void readMargin(RecordReader& reader, double& margin)
{
    const double value = reader.f64();
    if (std::isfinite(value) && value >= 0 && value <= kLargestMargin)
        margin = value;
}

void readSetup(RecordReader& reader, PageSetup& setup)
{
    const uint16_t paperSize = reader.u16();
    const uint16_t scale = reader.u16();
    const int16_t firstPage = reader.i16();
    const uint16_t fitWidth = reader.u16();
    const uint16_t fitHeight = reader.u16();
    const uint16_t flags = reader.u16();
    setup.fitWidth = fitWidth;
    setup.fitHeight = fitHeight;
    setup.overThenDown = (flags & OverThenDown) != 0;
    setup.blackAndWhite = (flags & BlackAndWhite) != 0;
    if (flags & UseFirstPageNumber)
        setup.firstPageNumber = static_cast<uint16_t>(std::max<int16_t>(firstPage, 1));
    if (flags & PrintComments)
        setup.comments = (flags & CommentsAtEnd) ? CommentPrinting::AtEnd : CommentPrinting::InPlace;
    if (!(flags & PrinterValuesInvalid)) {
        if (paperSize != 0)
            setup.paperSize = paperSize;
        if (scale >= kMinimumScale && scale <= kMaximumScale)
            setup.scale = scale;
        setup.landscape = !(flags & OrientationInvalid) && !(flags & Portrait);
    }
    if (reader.remaining() >= 4 + 16) {
        reader.skip(4);  // printer resolutions
        readMargin(reader, setup.headerMargin);
        readMargin(reader, setup.footerMargin);
    }
}

void readPageBreaks(RecordReader& reader, auto& breaks, uint32_t limit)
{
    const uint16_t count = reader.u16();
    if (static_cast<size_t>(count) * 6 > reader.remaining())
        reader.fail("the list of page breaks is longer than the record");
    for (uint16_t i = 0; i < count; ++i) {
        const uint16_t at = reader.u16();
        reader.skip(4);  // the span of the break across the other direction
        if (at > 0 && at <= limit)
            breaks.push_back(at);
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
}

std::string readHeaderText(RecordReader& reader)
{
    return reader.atEnd() ? std::string() : readString(reader);
}

}  // namespace

bool readPageSetupRecord(const Record& record, PageSetup& setup)
{
    RecordReader reader(record);
    switch (record.type) {
    case record_type::Setup: readSetup(reader, setup); break;
    case record_type::LeftMargin: readMargin(reader, setup.leftMargin); break;
    case record_type::RightMargin: readMargin(reader, setup.rightMargin); break;
    case record_type::TopMargin: readMargin(reader, setup.topMargin); break;
    case record_type::BottomMargin: readMargin(reader, setup.bottomMargin); break;
    case record_type::HCenter: setup.centerHorizontally = reader.u16() != 0; break;
    case record_type::VCenter: setup.centerVertically = reader.u16() != 0; break;
    case record_type::PrintGridlines: setup.gridlines = reader.u16() != 0; break;
    case record_type::PrintHeaders: setup.headings = reader.u16() != 0; break;
    case record_type::Header: setup.header = readHeaderText(reader); break;
    case record_type::Footer: setup.footer = readHeaderText(reader); break;
    case record_type::HorizontalPageBreaks: readPageBreaks(reader, setup.rowBreaks, kLastRow); break;
    case record_type::VerticalPageBreaks: readPageBreaks(reader, setup.columnBreaks, kLastColumn); break;
    default: return false;
    }
    return true;
}

}  // namespace kx::workbook::detail
