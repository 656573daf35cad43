// Page set-up as stored per sheet, the print area and titles names, and comments.
#include <gtest/gtest.h>

#include "workbook/xls/reader.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

namespace {

enum SetupFlags : uint16_t {
    OverThenDown = 0x0001,
    Portrait = 0x0002,
    NoPrinterValues = 0x0004,
    BlackAndWhite = 0x0008,
    Comments = 0x0020,
    UseFirstPage = 0x0080,
    CommentsAtEnd = 0x0200,
};

RawRecord setupRecord(uint16_t paper, uint16_t scale, int16_t firstPage, uint16_t fitWidth, uint16_t fitHeight,
                uint16_t flags, double header = 0.3, double footer = 0.4)
{
    return record(0x00A1, Body().u16(paper).u16(scale).u16(static_cast<uint16_t>(firstPage)).u16(fitWidth)
                              .u16(fitHeight).u16(flags).u16(600).u16(600).f64(header).f64(footer).u16(1));
}

PageSetup setupOf(std::vector<RawRecord> records)
{
    return loadWorkbook(WorkbookBuilder().sheet({.name = "S", .records = std::move(records)}).file())
        .sheets.at(0)
        .pageSetup;
}

RawRecord flag(uint16_t type, uint16_t value)
{
    return record(type, Body().u16(value));
}

}  // namespace

TEST(PageSetupRecords, EverythingTheSheetStores)
{
    const PageSetup setup = setupOf({
        setupRecord(5, 85, 3, 2, 0, OverThenDown | BlackAndWhite | UseFirstPage | Comments | CommentsAtEnd),
        record(0x0026, Body().f64(0.25)), record(0x0027, Body().f64(0.5)),
        record(0x0028, Body().f64(1.5)), record(0x0029, Body().f64(2.0)),
        flag(0x0083, 1), flag(0x0084, 1), flag(0x002B, 1), flag(0x002A, 1), flag(0x0081, 0x05C1),
        record(0x0014, Body().string16(u"&CPage &P")), record(0x0015, Body().string16(u"&R&D", true)),
        record(0x001B, Body().u16(3).u16(40).u16(0).u16(255).u16(10).u16(0).u16(255).u16(40).u16(0).u16(255)),
        record(0x001A, Body().u16(1).u16(4).u16(0).u16(65535)),
    });
    EXPECT_EQ(setup.paperSize, 5);
    EXPECT_EQ(setup.scale, 85);
    EXPECT_TRUE(setup.landscape);
    EXPECT_TRUE(setup.overThenDown);
    EXPECT_TRUE(setup.blackAndWhite);
    EXPECT_EQ(setup.firstPageNumber, 3);
    EXPECT_EQ(setup.comments, CommentPrinting::AtEnd);
    EXPECT_TRUE(setup.fitToPages);
    EXPECT_EQ(setup.fitWidth, 2);
    EXPECT_EQ(setup.fitHeight, 0);
    EXPECT_EQ(setup.headerMargin, 0.3);
    EXPECT_EQ(setup.footerMargin, 0.4);
    EXPECT_EQ(setup.leftMargin, 0.25);
    EXPECT_EQ(setup.rightMargin, 0.5);
    EXPECT_EQ(setup.topMargin, 1.5);
    EXPECT_EQ(setup.bottomMargin, 2.0);
    EXPECT_TRUE(setup.centerHorizontally);
    EXPECT_TRUE(setup.centerVertically);
    EXPECT_TRUE(setup.gridlines);
    EXPECT_TRUE(setup.headings);
    EXPECT_EQ(setup.header, "&CPage &P");
    EXPECT_EQ(setup.footer, "&R&D");
    EXPECT_EQ(setup.rowBreaks, (std::vector<uint32_t>{10, 40}));
    EXPECT_EQ(setup.columnBreaks, (std::vector<uint16_t>{4}));
}

TEST(PageSetupRecords, InvalidPrinterValuesAndAbsurdNumbersKeepTheDefaults)
{
    // Paper, scale and orientation flagged as not set: the defaults stand.
    PageSetup setup = setupOf({setupRecord(5, 50, 0, 1, 1, NoPrinterValues)});
    EXPECT_EQ(setup.paperSize, PageSetup{}.paperSize);
    EXPECT_EQ(setup.scale, 100);
    EXPECT_FALSE(setup.landscape);
    EXPECT_FALSE(setup.firstPageNumber);
    EXPECT_EQ(setup.comments, CommentPrinting::None);
    // A chart sheet's default is landscape.
    const auto chartLandscape = [](uint16_t flags) {
        const auto file = WorkbookBuilder().sheet({.name = "C", .records = {setupRecord(9, 100, 0, 1, 1, flags)},
                                                   .kind = 2}).file();
        return loadWorkbook(file).sheets.at(0).pageSetup.landscape;
    };
    EXPECT_TRUE(chartLandscape(NoPrinterValues | Portrait));
    EXPECT_FALSE(chartLandscape(Portrait));

    setup = setupOf({setupRecord(0, 5000, -4, 1, 1, Portrait | UseFirstPage | Comments, -1.0, 1e308 * 10),
                     record(0x0026, Body().f64(-2)), record(0x0029, Body().f64(1000)),
                     record(0x0014, Body())});
    EXPECT_EQ(setup.paperSize, PageSetup{}.paperSize);
    EXPECT_EQ(setup.scale, 100);
    EXPECT_FALSE(setup.landscape);
    EXPECT_EQ(setup.firstPageNumber, 1);
    EXPECT_EQ(setup.comments, CommentPrinting::InPlace);
    EXPECT_EQ(setup.headerMargin, 0.5);
    EXPECT_EQ(setup.footerMargin, 0.5);
    EXPECT_EQ(setup.leftMargin, 0.75);
    EXPECT_EQ(setup.bottomMargin, 1.0);
    EXPECT_EQ(setup.header, "");
}

TEST(PageSetupRecords, CustomViewsKeepTheirOwnSetUp)
{
    const RawRecord viewBegin = record(0x01AA, Body().bytes(std::vector<uint8_t>(40, 0)));
    const RawRecord viewEnd = record(0x01AB, Body().u16(1));
    const Workbook book = loadWorkbook(WorkbookBuilder().sheet({.name = "S", .records = {
        record(0x0014, Body().string16(u"&CSheet")), setupRecord(9, 100, 0, 1, 1, Portrait),
        record(0x0026, Body().f64(0.5)), numberCell(0, 0, 1),
        viewBegin, record(0x001D, Body().bytes(std::vector<uint8_t>(15, 0))),
        record(0x001B, Body().u16(1).u16(10).u16(0).u16(255)), record(0x0014, Body().string16(u"&CView")),
        record(0x0026, Body().f64(2.0)), setupRecord(5, 50, 0, 1, 1, 0), viewEnd,
        // A second view left without its end: the sheet's own records after it are read.
        viewBegin, record(0x0015, Body().string16(u"&CView")),
        record(0x00E5, Body().u16(1).u16(0).u16(1).u16(0).u16(1)), record(0x0083, Body().u16(1))}}).file());
    const Sheet& sheet = book.sheets.at(0);
    EXPECT_EQ(sheet.pageSetup.header, "&CSheet");
    EXPECT_EQ(sheet.pageSetup.footer, "");
    EXPECT_EQ(sheet.pageSetup.paperSize, 9);
    EXPECT_EQ(sheet.pageSetup.scale, 100);
    EXPECT_FALSE(sheet.pageSetup.landscape);
    EXPECT_EQ(sheet.pageSetup.leftMargin, 0.5);
    EXPECT_TRUE(sheet.pageSetup.rowBreaks.empty());
    EXPECT_EQ(sheet.mergedRanges.size(), 1u);
    EXPECT_TRUE(sheet.pageSetup.centerHorizontally);
}

namespace {

// A built-in name: hidden flag off, built-in flag on, defined on a sheet (1-based).
Body builtinName(uint8_t code, uint16_t sheetNumber, const std::vector<uint8_t>& formula)
{
    return Body().u16(0x0020).u8(0).u8(1).u16(static_cast<uint16_t>(formula.size())).u16(0).u16(sheetNumber)
        .u32(0).u8(0).u8(code).bytes(formula);
}

std::vector<uint8_t> area3d(uint8_t token, uint16_t externSheet, uint16_t firstRow, uint16_t lastRow,
                            uint16_t firstColumn, uint16_t lastColumn)
{
    return Body().u8(token).u16(externSheet).u16(firstRow).u16(lastRow).u16(firstColumn | 0xC000)
        .u16(lastColumn).data();
}

std::vector<uint8_t> joined(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Workbook namedWorkbook()
{
    WorkbookBuilder builder;
    builder.global(0x01AE, Body().u16(3).u16(0x0401));  // this workbook
    // Entries: 0 -> sheet 0, 1 -> sheet 1, 2 -> another workbook.
    builder.global(0x0017, Body().u16(3).u16(0).u16(0).u16(0).u16(0).u16(1).u16(1).u16(1).u16(0).u16(0));
    const auto twoAreas = joined({{0x29, 21, 0}, area3d(0x3B, 1, 0, 9, 0, 3), area3d(0x3B, 1, 20, 29, 5, 6), {0x10}});
    builder.global(0x0018, builtinName(0x06, 2, twoAreas));
    const auto titles = joined({{0x29, 21, 0}, area3d(0x3B, 1, 0, 1, 0, 255), area3d(0x3B, 1, 0, 65535, 2, 3), {0x10}});
    builder.global(0x0018, builtinName(0x07, 2, titles));
    // On sheet 1: an area of the other workbook and a deleted reference leave no print area.
    builder.global(0x0018, builtinName(0x06, 1, area3d(0x3B, 2, 0, 5, 0, 5)));
    builder.global(0x0018, builtinName(0x07, 1, joined({area3d(0x3D, 0, 0, 0, 0, 0)})));
    // A name that points past the last sheet is ignored.
    builder.global(0x0018, builtinName(0x06, 9, area3d(0x3B, 0, 0, 1, 0, 1)));
    builder.sheet({.name = "One"}).sheet({.name = "Two"});
    return loadWorkbook(builder.file());
}

}  // namespace

TEST(BuiltinNames, PrintAreaAndTitlesThroughTheSheetReferences)
{
    const Workbook book = namedWorkbook();
    const PageSetup& two = book.sheets.at(1).pageSetup;
    ASSERT_EQ(two.printArea.size(), 2u);
    EXPECT_EQ(two.printArea[0], (CellRange{0, 9, 0, 3}));
    EXPECT_EQ(two.printArea[1], (CellRange{20, 29, 5, 6}));
    EXPECT_EQ(two.titleRows, (std::pair<uint32_t, uint32_t>{0, 1}));
    EXPECT_EQ(two.titleColumns, (std::pair<uint16_t, uint16_t>{2, 3}));

    const PageSetup& one = book.sheets.at(0).pageSetup;
    EXPECT_TRUE(one.printArea.empty());
    EXPECT_FALSE(one.titleRows);
    EXPECT_FALSE(one.titleColumns);
}

TEST(Comments, NoteWithItsObjectAndTextSplitOverContinueRecords)
{
    const RawRecord obj = record(0x005D, Body().u16(0x15).u16(0x12).u16(0x19).u16(7).u16(0).bytes(std::vector<uint8_t>(12, 0))
                                               .u16(0).u16(0));
    const RawRecord chartObj = record(0x005D, Body().u16(0x15).u16(0x12).u16(0x05).u16(8).u16(0)
                                                    .bytes(std::vector<uint8_t>(12, 0)).u16(0).u16(0));
    const RawRecord txo = record(0x01B6, Body().u16(0x0212).u16(0).u32(0).u16(0).u16(8).u16(16).u32(0));
    const RawRecord text1 = record(0x003C, Body().characters(u"Hello"));
    const RawRecord text2 = record(0x003C, Body().characters(u" \u4e16\u754c", true));
    const RawRecord runs = record(0x003C, Body().u16(0).u16(0).u32(0).u16(9).u16(0).u32(0));
    const RawRecord note = record(0x001C, Body().u16(4).u16(2).u16(0x0002).u16(7).string16(u"Ann").u8(0));
    const RawRecord orphan = record(0x001C, Body().u16(5).u16(0).u16(0).u16(8).string16(u"Bo").u8(0));
    const Workbook book = loadWorkbook(
        WorkbookBuilder().sheet({.name = "S", .records = {obj, txo, text1, text2, runs, chartObj, note, orphan}}).file());
    const auto& comments = book.sheets.at(0).comments;
    ASSERT_EQ(comments.size(), 2u);
    EXPECT_EQ(comments[0].cell, (CellRef{4, 2}));
    EXPECT_EQ(comments[0].author, "Ann");
    EXPECT_EQ(comments[0].text, "Hello \xE4\xB8\x96\xE7\x95\x8C");
    EXPECT_TRUE(comments[0].shown);
    EXPECT_EQ(comments[1].text, "");  // its object is no comment
    EXPECT_FALSE(comments[1].shown);
}
