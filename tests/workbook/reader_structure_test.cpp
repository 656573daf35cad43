// The workbook's structure: sheets, their kinds and layout records, and what makes a file unreadable.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "workbook/xls/reader.h"
#include "reader_test_support.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

TEST(Sheets, KindsVisibilityAndLayoutRecords)
{
    WorkbookBuilder builder;
    builder.global(0x0022, Body().u16(1)).global(0x0042, Body().u16(1251));
    builder.sheet({.name = "Data", .records = {
        record(0x0225, Body().u16(0x0002).u16(300)),
        record(0x0055, Body().u16(10)),
        record(0x0099, Body().u16(2560)),
        record(0x007D, Body().u16(4).u16(6).u16(3000).u16(15).u16(0x0001).u16(0)),
        record(0x007D, Body().u16(1).u16(2).u16(1000).u16(15).u16(0).u16(0)),
        record(0x007D, Body().u16(2).u16(3).u16(500).u16(15).u16(0).u16(0)),   // overlaps the one before
        record(0x007D, Body().u16(200).u16(256).u16(800).u16(15).u16(0).u16(0)),
        record(0x0208, Body().u16(3).u16(0).u16(2).u16(400).u16(0).u16(0).u32(0x000F0000 | 0x01C0)),
        record(0x0208, Body().u16(1).u16(0).u16(0).u16(255).u16(0).u16(0).u32(0x0020)),
        record(0x0208, Body().u16(6).u16(0).u16(1).u16(0x8000).u16(0).u16(0).u32(0x0100)),  // no height, default
        numberCell(3, 1, 5),
        record(0x00E5, Body().u16(2).u16(0).u16(1).u16(0).u16(3).u16(5).u16(4).u16(0).u16(0)),
        record(0x023E, Body().u16(0x0040).bytes(std::vector<uint8_t>(16, 0))),
    }});
    builder.sheet({.name = "Chart", .records = {numberCell(0, 0, 3), record(0x0083, Body().u16(1))}, .kind = 2,
                   .visibility = 1});
    builder.sheet({.name = "Macros", .kind = 1, .visibility = 2});
    const Workbook book = loadWorkbook(builder.file());
    EXPECT_TRUE(book.dateSystem1904);
    EXPECT_EQ(book.codePage, 1251);
    ASSERT_EQ(book.sheets.size(), 3u);
    EXPECT_EQ(book.sheets[1].kind, SheetKind::Chart);
    EXPECT_EQ(book.sheets[1].visibility, Visibility::Hidden);
    EXPECT_TRUE(book.sheets[1].rows.empty());  // a chart's cached series values are no cells
    EXPECT_TRUE(book.sheets[1].pageSetup.centerHorizontally);
    EXPECT_EQ(book.sheets[2].kind, SheetKind::Macro);
    EXPECT_EQ(book.sheets[2].visibility, Visibility::VeryHidden);

    const Sheet& data = book.sheets[0];
    EXPECT_TRUE(data.rightToLeft);
    EXPECT_TRUE(data.defaultRowsHidden);
    EXPECT_EQ(data.defaultRowHeightTwips, 300);
    EXPECT_EQ(data.defaultColumnWidth, 10);
    EXPECT_EQ(data.standardColumnWidth, 2560);
    ASSERT_EQ(data.columns.size(), 4u);
    EXPECT_EQ(data.column(2)->width, 1000);
    EXPECT_EQ(data.column(3)->width, 500);
    EXPECT_EQ(data.column(3)->firstColumn, 3);
    EXPECT_TRUE(data.column(5)->hidden);
    EXPECT_EQ(data.column(255)->lastColumn, 255);
    ASSERT_EQ(data.rows.size(), 3u);
    EXPECT_EQ(data.row(6)->heightTwips, 300);
    const Row& row3 = *data.row(3);
    EXPECT_EQ(row3.heightTwips, 400);
    EXPECT_TRUE(row3.customHeight);
    EXPECT_FALSE(row3.hidden);
    EXPECT_EQ(row3.format, 15);
    EXPECT_EQ(row3.cells.size(), 1u);
    EXPECT_TRUE(data.row(1)->hidden);
    EXPECT_FALSE(data.row(1)->format);
    ASSERT_EQ(data.mergedRanges.size(), 1u);  // the inverted second range is dropped
    EXPECT_EQ(data.mergedRanges[0], (CellRange{0, 1, 0, 3}));
}

TEST(Sheets, EmbeddedChartsInsideASheetAreSkipped)
{
    const RawRecord innerBof = record(0x0809, Body().u16(0x0600).u16(0x0020).u32(0).u32(0).u32(0));
    const RawRecord eof{0x000A, {}};
    const Workbook book = loadWorkbook(WorkbookBuilder().sheet({.name = "S", .records = {
        numberCell(0, 0, 1), innerBof, numberCell(7, 7, 9), innerBof, eof, numberCell(8, 8, 9), eof,
        numberCell(1, 0, 2)}}).file());
    const Sheet& sheet = book.sheets.at(0);
    EXPECT_EQ(sheet.rows.size(), 2u);
    EXPECT_EQ(sheet.cell(1, 0)->number, 2);
    EXPECT_EQ(sheet.cell(7, 7), nullptr);
}

TEST(UnreadableFiles, PasswordsOldVersionsAndBrokenStructure)
{
    EXPECT_EQ(failureOf(WorkbookBuilder().global(0x002F, Body().u16(0).u16(0x1234).u16(0x5678)).file()),
              ErrorCode::PasswordProtected);

    const auto laterVersion = recordStream({{0x0809, Body().u16(0x0700).u16(0x0005).u32(0).u32(0).u32(0).data()}, {0x000A, {}}});
    EXPECT_EQ(failureOf(compoundFile(laterVersion)), ErrorCode::Unsupported);

    const auto globalsOnly = recordStream({{0x0809, Body().u16(0x0600).u16(0x0005).u32(0).data()}});
    EXPECT_EQ(failureOf(compoundFile(globalsOnly)), ErrorCode::Corrupt);  // no end record
    EXPECT_EQ(failureOf(compoundFile({}, "Workbook")), ErrorCode::NotAWorkbook);
    EXPECT_EQ(failureOf(compoundFile(globalsOnly, "Other")), ErrorCode::NotAWorkbook);

    // The same sheet listed twice would be read twice; a crafted file could list it thousands of times.
    EXPECT_EQ(failureOf(WorkbookBuilder().sheet({.name = "A", .records = {numberCell(0, 0, 1)}})
                            .sheet({.name = "B", .sameOffsetAs = 0}).file()),
              ErrorCode::Corrupt);

    // A sheet said to start at the beginning, where the globals are.
    auto intoGlobals = WorkbookBuilder().sheet({.name = "A", .records = {numberCell(0, 0, 1)}}).stream();
    const std::array<std::byte, 2> boundSheet{std::byte{0x85}, std::byte{0x00}};
    const auto entry = std::search(intoGlobals.begin(), intoGlobals.end(), boundSheet.begin(), boundSheet.end());
    ASSERT_NE(entry, intoGlobals.end());
    std::fill(entry + 4, entry + 8, std::byte{0});
    try {
        loadWorkbook(compoundFile(intoGlobals));
        ADD_FAILURE() << "a sheet inside the globals was read";
    } catch (const WorkbookError& error) {
        EXPECT_NE(std::string(error.what()).find("\"A\" is not where"), std::string::npos) << error.what();
    }

}

namespace {

// The type and offset of each record header in a stream.
std::vector<std::pair<uint16_t, size_t>> recordsOf(const std::vector<std::byte>& stream)
{
    std::vector<std::pair<uint16_t, size_t>> records;
    for (size_t at = 0; at + 4 <= stream.size();) {
        const auto byte = [&](size_t i) { return std::to_integer<size_t>(stream[at + i]); };
        records.emplace_back(static_cast<uint16_t>(byte(0) | byte(1) << 8), at);
        at += 4 + (byte(2) | byte(3) << 8);
    }
    return records;
}

// Where the n-th record of a type starts, counting from the last one back (0 for the last).
size_t offsetOfLast(const std::vector<std::byte>& stream, uint16_t type, size_t fromLast = 0)
{
    std::vector<size_t> found;
    for (const auto& [recordType, offset] : recordsOf(stream))
        if (recordType == type)
            found.push_back(offset);
    return found.at(found.size() - 1 - fromLast);
}

}  // namespace

TEST(DamagedFiles, AStreamCutShortKeepsWhatCameBeforeTheCutAndWarns)
{
    const RawRecord innerBof = record(0x0809, Body().u16(0x0600).u16(0x0020).u32(0).u32(0).u32(0));
    const auto stream = WorkbookBuilder()
                            .sheet({.name = "A", .records = {numberCell(0, 0, 1), numberCell(1, 0, 2)}})
                            .sheet({.name = "B", .records = {numberCell(0, 0, 3), innerBof, numberCell(5, 5, 5),
                                                             record(0x000A, Body()), numberCell(2, 0, 4)}})
                            .stream();
    const size_t lastCell = offsetOfLast(stream, 0x0203);
    const size_t secondCellOfA = offsetOfLast(stream, 0x0203, 3);
    const struct {
        const char* cut;
        size_t length;
        std::vector<uint16_t> warnedRecords;
        bool bKept;
    } cases[] = {
        {"inside an embedded object", offsetOfLast(stream, 0x000A, 1), {0x000A}, true},
        {"inside the last record", lastCell + 7, {0x0203}, true},
        {"inside a record header", lastCell + 2, {0x0000}, true},
        {"inside the first sheet", secondCellOfA + 10, {0x0203, 0x0809}, false},
    };
    for (const auto& test : cases) {
        const std::vector<std::byte> cut(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(test.length));
        Workbook book;
        ASSERT_NO_THROW(book = loadWorkbook(compoundFile(cut))) << test.cut;
        EXPECT_EQ(book.sheets.at(0).cell(0, 0)->number, 1) << test.cut;
        EXPECT_EQ(book.sheets[0].cell(1, 0) != nullptr, test.bKept) << test.cut;
        EXPECT_EQ(book.sheets.at(1).cell(0, 0) != nullptr, test.bKept) << test.cut;
        std::vector<uint16_t> warned;
        for (const LoadWarning& warning : book.warnings.kept())
            warned.push_back(warning.recordType);
        EXPECT_EQ(warned, test.warnedRecords) << test.cut;
    }
    const Workbook lastCut = loadWorkbook(compoundFile({stream.begin(), stream.begin() + static_cast<ptrdiff_t>(lastCell + 7)}));
    EXPECT_EQ(lastCut.warnings.lines(),
              std::vector<std::string>{"record 0x0203 at offset " + std::to_string(lastCell) +
                                       ": the rest of the sheet \"B\": the record is longer than what is left of "
                                       "the workbook stream"});

    LoadWarnings many;
    for (size_t i = 0; i < LoadWarnings::maximumKept + 50; ++i)
        many.add(0x0208, i, "a row");
    EXPECT_EQ(many.lines().size(), LoadWarnings::maximumKept + 1);
    EXPECT_EQ(many.lines().back(), "50 more warnings like these");
}

TEST(UnreadableFiles, BiffEightInABookStreamIsRead)
{
    auto stream = WorkbookBuilder().sheet({.name = "A", .records = {numberCell(0, 0, 4)}}).stream();
    const Workbook book = loadWorkbook(compoundFile(stream, "Book"));
    EXPECT_EQ(book.sheets.at(0).cell(0, 0)->number, 4);
}

TEST(UnreadableFiles, MessagesNameTheFile)
{
    try {
        openWorkbook("/nonexistent/folder/report.xls");
        FAIL();
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.code(), ErrorCode::FileNotFound);
        EXPECT_EQ(std::string(error.what()), "Cannot open /nonexistent/folder/report.xls: the file does not exist.");
    }
    for (const char* notAFile : {"/dev/zero", "/tmp"}) {
        try {
            openWorkbook(notAFile);
            ADD_FAILURE() << notAFile;
        } catch (const WorkbookError& error) {
            EXPECT_EQ(error.code(), ErrorCode::FileNotFound) << error.what();
        }
    }
    try {
        loadWorkbook(std::vector<std::byte>(100, std::byte{'a'}), "notes.xls");
        FAIL();
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.code(), ErrorCode::NotAWorkbook);
        EXPECT_EQ(std::string(error.what()).rfind("Cannot open notes.xls: ", 0), 0u) << error.what();
    }
}

namespace {

uint32_t u32At(const std::vector<std::byte>& bytes, size_t offset)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= std::to_integer<uint32_t>(bytes.at(offset + i)) << (8 * i);
    return value;
}

void setU32At(std::vector<std::byte>& bytes, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<std::byte>(value >> (8 * i));
}

// Points the sector chain of the workbook stream back at its own first sector.
std::vector<std::byte> withLoopingWorkbookChain(std::vector<std::byte> file)
{
    constexpr size_t sector = 512;
    auto sectorOffset = [&](uint32_t index) { return (index + 1) * sector; };
    const size_t directory = sectorOffset(u32At(file, 0x30));
    for (size_t entry = directory; entry + 128 <= directory + sector; entry += 128) {
        if (std::to_integer<char>(file[entry]) != 'W')
            continue;
        const uint32_t first = u32At(file, entry + 0x74);
        const uint32_t fatSector = u32At(file, 0x4C + 4 * (first / 128));
        setU32At(file, sectorOffset(fatSector) + 4 * (first % 128), first);
        return file;
    }
    throw std::runtime_error("no workbook stream entry");
}

}  // namespace

TEST(UnreadableFiles, ASectorChainThatLoopsEndsInAnError)
{
    std::vector<RawRecord> cells;
    for (uint16_t row = 0; row < 600; ++row)
        cells.push_back(numberCell(row, 0, row));  // well over the size kept in small sectors
    const auto file = WorkbookBuilder().sheet({.name = "A", .records = cells}).file();
    ASSERT_NO_THROW(loadWorkbook(file));
    EXPECT_NE(failureOf(withLoopingWorkbookChain(file)), ErrorCode{});
}
