// Cell formats: their own attributes, the font index gap, number formats and the palette.
#include <gtest/gtest.h>

#include "workbook/xls/reader.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

namespace {

Body font(const std::u16string& name, uint16_t height = 200, uint16_t attributes = 0, uint16_t weight = 400,
          uint8_t underline = 0)
{
    return Body().u16(height).u16(attributes).u16(12).u16(weight).u16(1).u8(underline).u8(0).u8(0).u8(0).string8(name);
}

// An XF record: font, number format, style flag and parent, alignment byte, own-attribute
// bits (number 0x04, font 0x08, alignment 0x10, border 0x20, fill 0x40), borders and fill.
Body xf(uint16_t font, uint16_t numberFormat, bool style, uint16_t parent, uint8_t alignment, uint8_t own,
        uint32_t borders = 0, uint32_t moreBorders = 0, uint16_t fill = 0x20C0)
{
    const uint16_t typeAndParent = static_cast<uint16_t>((style ? 0xFFF4 : parent << 4) | 0x0001);
    return Body().u16(font).u16(numberFormat).u16(typeAndParent).u8(alignment).u8(0).u8(0).u8(own)
        .u32(borders).u32(moreBorders).u16(fill);
}

Workbook formatsWorkbook()
{
    WorkbookBuilder builder;
    // Five more fonts: the file numbers them 1, 2, 3, 5, 6, skipping 4.
    builder.global(0x0031, font(u"One")).global(0x0031, font(u"Two")).global(0x0031, font(u"Three"))
        .global(0x0031, font(u"Five", 240, 0x0002 | 0x0008, 700, 0x22)).global(0x0031, font(u"Six"));
    builder.global(0x041E, Body().u16(0xA4).string16(u"0.0"));  // replaced by the next definition
    builder.global(0x041E, Body().u16(0xA4).string16(u"0.000\\ \"kg\""));
    builder.global(0x0092, Body().u16(56).u8(1).u8(2).u8(3).u8(0).bytes(std::vector<uint8_t>(55 * 4, 0)));
    // XF 16: a style with font 5, format 0xA4, centred and wrapped, a thin left border and a solid fill.
    builder.global(0x00E0, xf(5, 0xA4, true, 0, 0x02 | 0x08, 0x00, 0x00080001, 0x04000000, 0x0A | 0x41 << 7));
    // XF 17: a cell format of that style marked as setting nothing itself.
    builder.global(0x00E0, xf(0, 0, false, 16, 0x00, 0x00));
    // XF 18: one marked as setting its own number format and alignment only.
    builder.global(0x00E0, xf(6, 3, false, 16, 0x03 | 0x10, 0x04 | 0x10));
    builder.sheet({.name = "S", .records = {numberCell(0, 0, 1, 17)}});
    return loadWorkbook(builder.file());
}

}  // namespace

TEST(CellFormats, FontsAreNumberedWithoutTheGapAtFour)
{
    const Workbook book = formatsWorkbook();
    ASSERT_EQ(book.fonts.size(), 6u);
    const Font& five = book.fonts[4];
    EXPECT_EQ(five.name, "Five");
    EXPECT_EQ(five.heightTwips, 240);
    EXPECT_TRUE(five.bold);
    EXPECT_TRUE(five.italic);
    EXPECT_TRUE(five.strikeout);
    EXPECT_EQ(five.underline, Underline::DoubleAccounting);
    EXPECT_EQ(five.script, Script::Superscript);
    EXPECT_EQ(five.colorIndex, 12);
}

TEST(CellFormats, CellFormatsShowTheirOwnAttributesWhateverTheirStyle)
{
    const Workbook book = formatsWorkbook();
    ASSERT_EQ(book.formats.size(), 19u);
    const CellFormat& style = book.formats[16];
    EXPECT_EQ(style.fontIndex, 4);
    EXPECT_EQ(style.numberFormat, 0xA4);
    EXPECT_EQ(style.horizontal, HorizontalAlign::Center);
    EXPECT_TRUE(style.wrap);
    EXPECT_EQ(style.left.style, BorderStyle::Thin);
    EXPECT_EQ(style.left.colorIndex, 8);
    EXPECT_EQ(style.fillPattern, 1);
    EXPECT_EQ(style.fillForeground, 0x0A);
    EXPECT_EQ(style.fillBackground, 0x41);

    // Marked as taking everything from the style, but stored with other values: those show.
    const CellFormat& plain = book.formats[17];
    EXPECT_EQ(plain.fontIndex, 0);
    EXPECT_EQ(plain.numberFormat, 0);
    EXPECT_EQ(plain.horizontal, HorizontalAlign::General);
    EXPECT_EQ(plain.left.style, BorderStyle::None);
    EXPECT_EQ(plain.fillPattern, 0);

    const CellFormat& own = book.formats[18];
    EXPECT_EQ(own.numberFormat, 3);
    EXPECT_EQ(own.horizontal, HorizontalAlign::Right);
    EXPECT_EQ(own.vertical, VerticalAlign::Center);
    EXPECT_FALSE(own.wrap);
    EXPECT_EQ(own.fontIndex, 5);
}

TEST(CellFormats, NumberFormatsAndPalette)
{
    const Workbook book = formatsWorkbook();
    EXPECT_EQ(book.numberFormatCode(0xA4), "0.000\\ \"kg\"");
    EXPECT_EQ(book.numberFormats.size(), 1u);
    ASSERT_EQ(book.palette.size(), 56u);
    EXPECT_EQ(book.color(8, {}), (Color{1, 2, 3}));
    EXPECT_EQ(book.color(9, {}), (Color{0, 0, 0}));

    const Workbook plain = loadWorkbook(WorkbookBuilder().sheet({.name = "S"}).file());
    EXPECT_EQ(plain.color(10, {}), (Color{255, 0, 0}));   // default palette
    EXPECT_EQ(plain.color(22, {}), (Color{192, 192, 192}));
    EXPECT_EQ(plain.color(63, {}), (Color{51, 51, 51}));
}

namespace {

// XF 16: a style that differs from the cell formats below in every group: font 5, format 0xA4,
// centred, a thin left border, a solid fill.
Body styleDifferingInEveryGroup()
{
    return xf(5, 0xA4, true, 0, 0x02, 0x00, 0x00080001, 0x04000000, 0x0A | 0x41 << 7);
}

void expectPlainAttributes(const CellFormat& format)
{
    EXPECT_EQ(format.fontIndex, 0);
    EXPECT_EQ(format.numberFormat, 14);
    EXPECT_EQ(format.horizontal, HorizontalAlign::Right);
    EXPECT_EQ(format.left.style, BorderStyle::None);
    EXPECT_EQ(format.bottom.style, BorderStyle::Double);
    EXPECT_EQ(format.fillPattern, 0);
}

}  // namespace

// The used-attribute marks of a cell format only say whether a later edit of its style carries
// over into it; whatever they say, the cell format's stored attributes are the ones shown. Read
// either way round (a set mark as "own" or as "from the style"), some group of one of these
// would come out as the style's.
TEST(CellFormats, UsedAttributeMarksNeverPullInTheStyle)
{
    WorkbookBuilder builder;
    builder.global(0x0031, font(u"One")).global(0x0031, font(u"Two")).global(0x0031, font(u"Three"))
        .global(0x0031, font(u"Five", 240, 0, 700)).global(0x0031, font(u"Six"));
    builder.global(0x041E, Body().u16(0xA4).string16(u"0.000"));
    builder.global(0x00E0, styleDifferingInEveryGroup());
    const uint32_t doubleBottom = 0x6 << 12;
    const uint32_t bottomColor = 8 << 7;
    // XF 17 marks every group as its own, XF 18 none, XF 19 alternate groups.
    for (uint8_t marks : {uint8_t(0xFC), uint8_t(0x00), uint8_t(0x54)})
        builder.global(0x00E0, xf(0, 14, false, 16, 0x03, marks, doubleBottom, bottomColor));
    // XF 20 names a cell format as its parent, XF 21 a parent past the end of the table.
    builder.global(0x00E0, xf(0, 14, false, 17, 0x03, 0x00, doubleBottom, bottomColor));
    builder.global(0x00E0, xf(0, 14, false, 0xFFE, 0x03, 0x00, doubleBottom, bottomColor));
    builder.sheet({.name = "S", .records = {numberCell(0, 0, 1, 17)}});
    const Workbook book = loadWorkbook(builder.file());

    ASSERT_EQ(book.formats.size(), 22u);
    for (size_t index = 17; index <= 21; ++index) {
        SCOPED_TRACE(index);
        expectPlainAttributes(book.formats[index]);
    }
    // The style keeps its own values too, for cells that name it directly.
    EXPECT_EQ(book.formats[16].fontIndex, 4);
    EXPECT_EQ(book.formats[16].numberFormat, 0xA4);
    EXPECT_EQ(book.formats[16].fillPattern, 1);
}
