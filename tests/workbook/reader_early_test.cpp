// Worksheets of Excel 2.1 to 4.0: plain record streams whose cells, fonts, number formats and
// column widths read into the model.
#include <gtest/gtest.h>

#include "workbook/xls/reader.h"
#include "reader_test_support.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

namespace {

std::vector<uint8_t> ascii(std::string_view text)
{
    return {text.begin(), text.end()};
}

Body shortText(std::string_view text)
{
    return Body().u8(static_cast<uint8_t>(text.size())).bytes(ascii(text));
}

// Excel 2.1 cells carry their format in three bytes: cell format, number format and font, alignment.
Body biff2Cell(uint16_t row, uint16_t column, uint8_t numberFormat, uint8_t alignment)
{
    return Body().u16(row).u16(column).u8(0).u8(numberFormat).u8(alignment);
}

std::vector<RawRecord> biff2Sheet()
{
    return {record(0x0009, Body().u16(7).u16(0x0010)),
            record(0x0031, Body().u16(200).u16(0x0001).bytes(shortText("Arial").data())),
            record(0x001E, shortText("General")), record(0x001E, shortText("0.00")),
            record(0x0004, biff2Cell(0, 0, 0, 2).bytes(shortText("Title").data())),
            record(0x0003, biff2Cell(1, 1, 1, 0).f64(3.14159)),
            record(0x0002, biff2Cell(2, 1, 0, 0).u16(42)),
            record(0x0024, Body().u8(1).u8(1).u16(5000)),
            record(0x000A, Body())};
}

// Excel 3.0 and 4.0 name cell formats, which differ between the two in their first bytes.
std::vector<RawRecord> laterSheet(uint16_t bofType, uint16_t formatType, const Body& formatPrefix, uint16_t xfType,
                                  const Body& centred, const Body& plain)
{
    const Body fill = Body().u16(0).u32(0);
    return {record(bofType, Body().u16(0).u16(0x0010)),
            record(0x0231, Body().u16(200).u16(0x0001).u16(0x7FFF).bytes(shortText("Arial").data())),
            record(formatType, Body(formatPrefix).bytes(shortText("General").data())),
            record(formatType, Body(formatPrefix).bytes(shortText("0.00").data())),
            record(xfType, Body(centred).bytes(fill.data())), record(xfType, Body(plain).bytes(fill.data())),
            record(0x0204, Body().u16(0).u16(0).u16(0).u16(5).bytes(ascii("Title"))),
            record(0x0203, Body().u16(1).u16(1).u16(1).f64(3.14159)),
            record(0x0203, Body().u16(2).u16(1).u16(0).f64(42)),
            record(0x007D, Body().u16(1).u16(1).u16(5000).u16(0).u16(0).u16(0)),
            // The print area A1:C10.
            record(0x0218, Body().u16(0x0020).u8(0).u8(1).u16(7).u8(0x06).u8(0x25).u16(0).u16(9).u8(0).u8(2)),
            record(0x000A, Body())};
}

}  // namespace

TEST(EarlyWorksheets, CellsFontsFormatsAndWidthsOfEachVersion)
{
    struct Case {
        const char* version;
        std::vector<RawRecord> records;
        size_t printAreas;  // Excel 2.1 names are not read
    };
    const Case cases[] = {
        {"Excel 2.1", biff2Sheet(), 0},
        {"Excel 3.0", laterSheet(0x0209, 0x001E, Body(), 0x0243, Body().u8(0).u8(0).u8(0).u8(0).u16(2),
                                 Body().u8(0).u8(1).u8(0).u8(0).u16(0)), 1},
        {"Excel 4.0", laterSheet(0x0409, 0x041E, Body().u16(0), 0x0443, Body().u8(0).u8(0).u16(0).u8(0x22).u8(0),
                                 Body().u8(0).u8(1).u16(0).u8(0x20).u8(0)), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const auto stream = recordStream(c.records);
        const Workbook book = loadWorkbook(stream, "/data/budget 1990.xls");
        ASSERT_EQ(book.sheets.size(), 1u);
        const Sheet& sheet = book.sheets[0];
        EXPECT_EQ(sheet.name, "budget 1990");  // named after the file, as the spreadsheet program shows it
        const Cell* title = sheet.cell(0, 0);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(book.strings[title->text].utf8, "Title");
        EXPECT_EQ(book.formats[title->format].horizontal, HorizontalAlign::Center);
        EXPECT_TRUE(book.fonts[book.formats[title->format].fontIndex].bold);
        const Cell* pi = sheet.cell(1, 1);
        ASSERT_NE(pi, nullptr);
        EXPECT_EQ(pi->number, 3.14159);
        EXPECT_EQ(book.numberFormatCode(book.formats[pi->format].numberFormat), "0.00");
        ASSERT_NE(sheet.cell(2, 1), nullptr);
        EXPECT_EQ(sheet.cell(2, 1)->number, 42);
        ASSERT_NE(sheet.column(1), nullptr);
        EXPECT_EQ(sheet.column(1)->width, 5000);
        ASSERT_EQ(sheet.pageSetup.printArea.size(), c.printAreas);
        if (c.printAreas > 0) {
            EXPECT_EQ(sheet.pageSetup.printArea[0].lastRow, 9u);
            EXPECT_EQ(sheet.pageSetup.printArea[0].lastColumn, 2u);
        }
    }
}

TEST(EarlyWorksheets, AnEncryptedWorksheetIsRefused)
{
    const auto stream = recordStream({record(0x0409, Body().u16(0).u16(0x0010)), record(0x002F, Body().u16(1).u16(2)),
                                      record(0x000A, Body())});
    EXPECT_EQ(failureOf(stream), ErrorCode::PasswordProtected);
}
