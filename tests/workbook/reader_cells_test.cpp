// Cell values read from hand-built workbooks: every cell record kind, and what a file may not claim.
#include <gtest/gtest.h>

#include "workbook/xls/reader.h"
#include "reader_test_support.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

namespace {

Workbook loadSheet(std::vector<RawRecord> records, WorkbookBuilder builder = {})
{
    builder.sheet({.name = "S", .records = std::move(records)});
    return loadWorkbook(builder.file());
}

const Cell& cellAt(const Workbook& book, uint32_t row, uint16_t column)
{
    const Cell* cell = book.sheets.at(0).cell(row, column);
    if (!cell)
        throw std::runtime_error("no cell at " + std::to_string(row) + "," + std::to_string(column));
    return *cell;
}

std::string textAt(const Workbook& book, uint32_t row, uint16_t column)
{
    const Cell& cell = cellAt(book, row, column);
    EXPECT_EQ(cell.kind, CellKind::Text);
    return book.strings.at(cell.text).utf8;
}

}  // namespace

TEST(RkNumbers, DecodeIntegersFloatsAndHundredths)
{
    struct Case {
        uint32_t rk;
        double value;
    };
    const Case cases[] = {
        {0x3FF00000, 1.0},          // the top 30 bits of a double
        {0x3FF00001, 0.01},         // ... divided by 100
        {(123u << 2) | 2, 123.0},   // an integer
        {(123u << 2) | 3, 1.23},    // an integer divided by 100
        {static_cast<uint32_t>(-5 << 2) | 2, -5.0},
        {0xC0590000, -100.0},
    };
    std::vector<RawRecord> records;
    for (uint16_t i = 0; i < std::size(cases); ++i)
        records.push_back(rkCell(i, 0, cases[i].rk));
    const Workbook book = loadSheet(records);
    for (uint16_t i = 0; i < std::size(cases); ++i)
        EXPECT_DOUBLE_EQ(cellAt(book, i, 0).number, cases[i].value) << "case " << i;
}

TEST(CellRecords, EveryKindOfValue)
{
    const Workbook book = loadSheet({
        numberCell(0, 0, 3.5),
        record(0x00BD, Body().u16(1).u16(2).u16(15).u32((7u << 2) | 2).u16(15).u32(0x3FF00000).u16(3)),  // MULRK
        record(0x00BE, Body().u16(2).u16(4).u16(15).u16(15).u16(15).u16(6)),                            // MULBLANK
        record(0x0205, Body().u16(3).u16(0).u16(15).u8(1).u8(0)),    // TRUE
        record(0x0205, Body().u16(3).u16(1).u16(15).u8(0x07).u8(1)), // #DIV/0!
        labelCell(4, 0, u"inline"),
        record(0x00D6, Body().u16(4).u16(1).u16(15).string16(u"rich").u16(1).u16(2).u16(5)),  // RSTRING
    });
    EXPECT_EQ(cellAt(book, 0, 0).number, 3.5);
    EXPECT_EQ(cellAt(book, 1, 2).number, 7);
    EXPECT_EQ(cellAt(book, 1, 3).number, 1);
    EXPECT_EQ(book.sheets[0].row(1)->cells.size(), 2u);
    for (uint16_t column : std::initializer_list<uint16_t>{4, 5, 6})
        EXPECT_EQ(cellAt(book, 2, column).kind, CellKind::Blank);
    EXPECT_EQ(cellAt(book, 3, 0).kind, CellKind::Boolean);
    EXPECT_EQ(cellAt(book, 3, 0).number, 1);
    EXPECT_EQ(cellAt(book, 3, 1).kind, CellKind::Error);
    EXPECT_EQ(cellAt(book, 3, 1).number, 7);
    EXPECT_EQ(textAt(book, 4, 0), "inline");
    EXPECT_EQ(textAt(book, 4, 1), "rich");
    const auto& runs = book.strings[cellAt(book, 4, 1).text].runs;
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].fontIndex, 0);  // font 5 names no font of this workbook: the default
}

TEST(CellRecords, FormulaResultsIncludingTextFromTheStringRecord)
{
    auto formula = [](uint16_t row, std::vector<uint8_t> result, uint16_t type = 0x0006) {
        return record(type, Body().u16(row).u16(0).u16(15).bytes(result).u16(0).u32(0).u16(0));
    };
    const Workbook book = loadSheet({
        formula(0, {0, 0, 0, 0, 0, 0, 0x45, 0x40}),  // 42.0
        formula(1, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}),  // text, in the STRING record
        record(0x04BC, Body().u32(0)),                // a shared formula between them
        record(0x0207, Body().string16(u"result")),
        formula(2, {1, 0, 1, 0, 0, 0, 0xFF, 0xFF}),  // TRUE
        formula(3, {2, 0, 0x2A, 0, 0, 0, 0xFF, 0xFF}),  // #N/A
        formula(4, {3, 0, 0, 0, 0, 0, 0xFF, 0xFF}),  // empty text
        formula(5, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}),  // text whose STRING record is missing
        numberCell(6, 0, 1),
        record(0x0207, Body().string16(u"stray")),   // belongs to no formula
        formula(7, {0, 0, 0, 0, 0, 0, 0x08, 0x40}, 0x0406),  // 3.0, under Excel 4.0's record number
    });
    EXPECT_EQ(cellAt(book, 0, 0).number, 42);
    EXPECT_EQ(textAt(book, 1, 0), "result");
    EXPECT_EQ(cellAt(book, 2, 0).kind, CellKind::Boolean);
    EXPECT_EQ(cellAt(book, 3, 0).kind, CellKind::Error);
    EXPECT_EQ(cellAt(book, 3, 0).number, 0x2A);
    EXPECT_EQ(textAt(book, 4, 0), "");
    EXPECT_EQ(textAt(book, 5, 0), "");
    EXPECT_EQ(cellAt(book, 6, 0).number, 1);
    EXPECT_EQ(cellAt(book, 7, 0).number, 3);
    EXPECT_TRUE(book.warnings.empty());
}

TEST(CellRecords, ARecordOfAnUnknownKindIsPassedOverWithAWarning)
{
    const Workbook book = loadSheet({record(0x7777, Body().u16(1)), record(0x0200, Body().u32(0)), numberCell(0, 0, 5)});
    EXPECT_EQ(cellAt(book, 0, 0).number, 5);
    ASSERT_EQ(book.warnings.kept().size(), 1u);  // the dimensions are known and not needed
    EXPECT_EQ(book.warnings.kept()[0].recordType, 0x7777);
}

TEST(CellRecords, SharedStringsSplitAcrossContinueRecords)
{
    Body sst;
    sst.u32(3).u32(3).string16(u"first").u16(6).u8(0).bytes({'s', 'e', 'c'});
    Body rest;
    rest.characters(u"\u043E\u043D\u0434", true).string16(u"third");
    WorkbookBuilder builder;
    builder.global(0x00FC, sst).global(0x003C, rest);
    const Workbook book = loadSheet({record(0x00FD, Body().u16(0).u16(0).u16(15).u32(1)),
                                     record(0x00FD, Body().u16(0).u16(1).u16(15).u32(2))},
                                    builder);
    EXPECT_EQ(textAt(book, 0, 0), "sec\xD0\xBE\xD0\xBD\xD0\xB4");
    EXPECT_EQ(textAt(book, 0, 1), "third");
}

TEST(CellRecords, OutOfOrderAndRepeatedCellsEndSortedWithTheLastValue)
{
    const Workbook book = loadSheet({numberCell(5, 3, 1), numberCell(5, 1, 2), numberCell(2, 0, 3),
                                     numberCell(5, 3, 4)});
    const Sheet& sheet = book.sheets[0];
    ASSERT_EQ(sheet.rows.size(), 2u);
    EXPECT_EQ(sheet.rows[0].index, 2u);
    ASSERT_EQ(sheet.rows[1].cells.size(), 2u);
    EXPECT_EQ(sheet.rows[1].cells[0].column, 1);
    EXPECT_EQ(cellAt(book, 5, 3).number, 4);
}

TEST(CellRecords, FormatIndexesThatNameNoFormatFallBackToTheDefault)
{
    const Workbook book = loadSheet({numberCell(0, 0, 1, 999)});
    EXPECT_EQ(cellAt(book, 0, 0).format, 15);
}

TEST(CellRecords, WhatAFileMayNotClaimIsACorruptError)
{
    EXPECT_EQ(failureOf(WorkbookBuilder().sheet({.name = "S", .records = {numberCell(0, 256, 1)}}).file()),
              ErrorCode::Corrupt);
    // A MULRK running past column IV.
    EXPECT_EQ(failureOf(WorkbookBuilder()
                            .sheet({.name = "S",
                                    .records = {record(0x00BD, Body().u16(0).u16(255).u16(15).u32(2).u16(15)
                                                                   .u32(2).u16(256))}})
                            .file()),
              ErrorCode::Corrupt);
    EXPECT_EQ(failureOf(WorkbookBuilder()
                            .sheet({.name = "S", .records = {record(0x00FD, Body().u16(0).u16(0).u16(15).u32(0))}})
                            .file()),
              ErrorCode::Corrupt);
    EXPECT_EQ(failureOf(WorkbookBuilder().sheet({.name = "S", .records = {record(0x0203, Body().u16(0).u16(0))}})
                            .file()),
              ErrorCode::Corrupt);
}

namespace {

constexpr uint16_t kHyperlink = 0x01B8;
const std::vector<uint8_t> kUrlMoniker{0xE0, 0xC9, 0xEA, 0x79, 0xF9, 0xBA, 0xCE, 0x11,
                                       0x8C, 0x82, 0x00, 0xAA, 0x00, 0x4B, 0xA9, 0x0B};

// An HLINK record over B2:C3, before its hyperlink object's flags.
Body hyperlinkOver()
{
    return Body().u16(1).u16(2).u16(1).u16(2).bytes(std::vector<uint8_t>(16)).u32(2);
}

Body& utf16WithNul(Body& body, const std::u16string& text)
{
    for (const char16_t unit : text)
        body.u16(unit);
    return body.u16(0);
}

}  // namespace

TEST(Hyperlinks, AddressesAndPlacesAreKeptAndADamagedRecordLosesOnlyItsLink)
{
    const std::u16string web = u"https://example.org/ü";
    Body url = hyperlinkOver().u32(0x03).bytes(kUrlMoniker).u32(static_cast<uint32_t>(web.size() + 1) * 2);
    utf16WithNul(url, web);
    Body place = hyperlinkOver().u32(0x08).u32(10);
    utf16WithNul(place, u"Data!$B$7");
    Body cut = hyperlinkOver().u32(0x03).bytes(kUrlMoniker).u32(1000).u16('h');
    Body reversed = Body().u16(5).u16(1).u16(0).u16(0).bytes(std::vector<uint8_t>(16)).u32(2).u32(0x08).u32(3);
    utf16WithNul(reversed, u"A1");

    const Workbook book = loadSheet({numberCell(0, 0, 1), record(kHyperlink, url), record(kHyperlink, cut),
                                     record(kHyperlink, place), record(kHyperlink, reversed)});
    const auto& links = book.sheets.at(0).hyperlinks;
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].range, (CellRange{1, 2, 1, 2}));
    EXPECT_EQ(links[0].address, "https://example.org/ü");
    EXPECT_EQ(links[1].location, "Data!$B$7");
    EXPECT_TRUE(links[1].address.empty());
}
