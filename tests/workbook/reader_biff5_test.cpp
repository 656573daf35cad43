// Excel 5.0/95 workbooks: texts in the workbook's code page and the older record layouts read
// into the same model as a newer workbook.
#include <gtest/gtest.h>

#include <filesystem>

#include "workbook/xls/reader.h"
#include "print_test_support.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

namespace {

// "Лист" and "Привет" in Windows-1251.
const std::vector<uint8_t> kSheetName{0xCB, 0xE8, 0xF1, 0xF2};
const std::vector<uint8_t> kGreeting{0xCF, 0xF0, 0xE8, 0xE2, 0xE5, 0xF2};

std::vector<uint8_t> ascii(std::string_view text)
{
    return {text.begin(), text.end()};
}

Body oldBof(uint16_t version, uint16_t kind)
{
    return Body().u16(version).u16(kind).u16(0x096C).u16(0x07C9);
}

Body cellAt(uint16_t row, uint16_t column, uint16_t format = 15)
{
    return Body().u16(row).u16(column).u16(format);
}

std::vector<RawRecord> globalsWithSheetAt(uint32_t offset, const Body& firstBof)
{
    std::vector<RawRecord> records{record(0x0809, firstBof), record(0x0042, Body().u16(1251)),
                                   record(0x0031, Body().u16(200).u16(0).u16(0x7FFF).u16(700).u16(0).u8(0).u8(0)
                                                      .u8(0).u8(0).u8(5).bytes(ascii("Arial"))),
                                   record(0x041E, Body().u16(164).u8(4).bytes(ascii("0.0%")))};
    for (int i = 0; i < 16; ++i)
        records.push_back(record(0x00E0, Body().u16(0).u16(0).u16(0xFFF5).u8(0x20).u8(0).u32(0x20C0).u32(0)));
    // Wrapped, turned 90 degrees, a solid fill of colour 10, a medium bottom border in colour 12,
    // a thin top border in colour 8 and a dashed right border in colour 9.
    const uint32_t fill = 10u | 65u << 7 | 1u << 16 | 2u << 22 | 12u << 25;
    const uint32_t lines = 1u | 3u << 6 | 8u << 9 | 9u << 23;
    records.push_back(record(0x00E0, Body().u16(0).u16(164).u16(0x0001).u8(0x08).u8(0x02).u32(fill).u32(lines)));
    records.push_back(record(0x0085, Body().u32(offset).u8(0).u8(0).u8(4).bytes(kSheetName)));
    // The print area A1:C10 of the first sheet, by a reference into this workbook.
    const Body area = Body().u8(0x3B).u16(0xFFFF).bytes(std::vector<uint8_t>(8)).u16(0).u16(0).u16(0).u16(9).u8(0).u8(2);
    records.push_back(record(0x0018, Body().u16(0x0020).u8(0).u8(1).u16(static_cast<uint16_t>(area.size())).u16(0)
                                         .u16(1).u32(0).u8(0x06).bytes(area.data())));
    records.push_back(record(0x000A, Body()));
    return records;
}

// A workbook of one sheet in a "Book" stream, whose first BOF is `firstBof`.
std::vector<std::byte> oldWorkbook(const Body& firstBof, const std::vector<RawRecord>& sheetRecords)
{
    const auto offset = static_cast<uint32_t>(recordStream(globalsWithSheetAt(0, firstBof)).size());
    std::vector<RawRecord> records = globalsWithSheetAt(offset, firstBof);
    records.push_back(record(0x0809, oldBof(0x0500, 0x0010)));
    records.insert(records.end(), sheetRecords.begin(), sheetRecords.end());
    records.push_back(record(0x000A, Body()));
    return compoundFile(recordStream(records), "Book");
}

std::string textOf(const Workbook& book, uint32_t row, uint16_t column)
{
    const Cell* cell = book.sheets.at(0).cell(row, column);
    return cell && cell->kind == CellKind::Text ? book.strings[cell->text].utf8 : std::string("(no text)");
}

}  // namespace

TEST(OldWorkbooks, RecordsOfExcel95ReadIntoTheModel)
{
    const Workbook book = loadWorkbook(oldWorkbook(oldBof(0x0500, 0x0005), {
        record(0x0204, cellAt(0, 0, 16).u16(6).bytes(kGreeting)),
        record(0x00D6, cellAt(1, 0).u16(8).bytes(ascii("Bold end")).u8(2).u8(0).u8(0).u8(5).u8(0)),
        record(0x0006, cellAt(2, 0).u32(0).u16(0).u16(0xFFFF).u16(0).u32(0).u16(0)),
        record(0x0207, Body().u16(3).bytes(ascii("sum"))),
        record(0x0203, cellAt(3, 1).f64(3.5)),
        record(0x0014, Body().u8(9).bytes(ascii("&CPage &P"))),
        record(0x001B, Body().u16(1).u16(5)),
        record(0x001C, Body().u16(0).u16(1).u16(11).bytes(ascii("Hello "))),
        record(0x001C, Body().u16(0xFFFF).u16(0).u16(5).bytes(ascii("world"))),
        record(0x0809, oldBof(0x0500, 0x0020)),  // an embedded chart of the older form
        record(0x1001, Body().u16(0)),
        record(0x000A, Body()),
    }));
    EXPECT_EQ(book.codePage, 1251);
    ASSERT_EQ(book.sheets.size(), 1u);
    const Sheet& sheet = book.sheets[0];
    EXPECT_EQ(sheet.name, "Лист");
    EXPECT_EQ(textOf(book, 0, 0), "Привет");
    EXPECT_EQ(textOf(book, 1, 0), "Bold end");
    EXPECT_EQ(book.strings[sheet.cell(1, 0)->text].runs.size(), 2u);
    EXPECT_EQ(textOf(book, 2, 0), "sum");
    EXPECT_EQ(sheet.cell(3, 1)->number, 3.5);
    EXPECT_EQ(book.fonts.at(0).name, "Arial");
    EXPECT_TRUE(book.fonts.at(0).bold);

    const CellFormat& format = book.formats.at(16);
    EXPECT_EQ(format.numberFormat, 164);
    EXPECT_TRUE(format.wrap);
    EXPECT_EQ(format.rotation, 90);
    EXPECT_EQ(format.fillPattern, 1);
    EXPECT_EQ(format.fillForeground, 10);
    EXPECT_EQ(format.bottom.style, BorderStyle::Medium);
    EXPECT_EQ(format.bottom.colorIndex, 12);
    EXPECT_EQ(format.top.style, BorderStyle::Thin);
    EXPECT_EQ(format.top.colorIndex, 8);
    EXPECT_EQ(format.right.style, BorderStyle::Dashed);
    EXPECT_EQ(format.right.colorIndex, 9);
    EXPECT_EQ(format.left.style, BorderStyle::None);
    ASSERT_FALSE(book.numberFormats.empty());
    EXPECT_EQ(book.numberFormats.back().code, "0.0%");

    EXPECT_EQ(sheet.pageSetup.header, "&CPage &P");
    EXPECT_EQ(sheet.pageSetup.rowBreaks, std::vector<uint32_t>{5});
    ASSERT_EQ(sheet.pageSetup.printArea.size(), 1u);
    EXPECT_EQ(sheet.pageSetup.printArea[0].lastRow, 9u);
    EXPECT_EQ(sheet.pageSetup.printArea[0].lastColumn, 2u);
    ASSERT_EQ(sheet.comments.size(), 1u);
    EXPECT_EQ(sheet.comments[0].text, "Hello world");
    EXPECT_EQ(sheet.comments[0].cell.column, 1);
    EXPECT_TRUE(sheet.charts.empty());
}

// Writers other than the spreadsheet program leave the first BOF short or give it another version.
TEST(OldWorkbooks, OddFirstBofsStillMarkAnExcel95Workbook)
{
    const Body bofs[] = {oldBof(0x0500, 0x0005), oldBof(0x0000, 0x0005), oldBof(0x0580, 0x0005),
                         Body().u16(0x0500).u16(0x0005)};
    for (const Body& bof : bofs) {
        SCOPED_TRACE(bof.size());
        const Workbook book = loadWorkbook(oldWorkbook(bof, {record(0x0204, cellAt(0, 0).u16(6).bytes(kGreeting))}));
        EXPECT_EQ(textOf(book, 0, 0), "Привет");
    }
}

TEST(OldWorkbooks, RealOldWorkbooksPrintTheirText)
{
    const std::filesystem::path folder = kx::workbook::testing::corpusFolder() / "bad";
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no corpus at " << folder;
    struct Case {
        const char* file;
        std::vector<const char*> texts;
        const char* firstComment;
    };
    const Case cases[] = {
        {"bad-biff5-excel95.xls", {"Numbers and their Squares", "1,234,500", "$1,253.82", "Release 1."}, nullptr},
        {"bad-biff5-comments.xls", {"foo", "qux"}, "Author:\nGod thinks this is good"},
        {"bad-biff4-not-ole2.xls", {"Table 10 -- Examination Coverage", "168,184,400", "Business returns:"}, nullptr},
    };
    kx::workbook::testing::ScratchFolder scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Workbook book = openWorkbook((folder / c.file).string());
        const std::string text = kx::workbook::testing::pdfText(kx::workbook::testing::printToPdf(book, scratch));
        for (const char* expected : c.texts)
            EXPECT_NE(text.find(expected), std::string::npos) << expected << " in " << text;
        if (c.firstComment) {
            ASSERT_FALSE(book.sheets[0].comments.empty());
            EXPECT_EQ(book.sheets[0].comments[0].text, c.firstComment);
        }
    }
}
