// Conditional formats: rules comparing a cell's value read from their records, and the cells
// whose values meet them printing with the rule's font, borders and fill.
#include <gtest/gtest.h>

#include "workbook/xls/reader.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

namespace {

constexpr uint32_t kAllKept = 0x003FFFFF, kHasFont = 0x04000000, kHasBorders = 0x10000000, kHasPattern = 0x20000000;

RawRecord header(const std::vector<CellRange>& ranges)
{
    Body body;
    body.u16(static_cast<uint16_t>(ranges.size())).u16(0).u16(0).u16(0).u16(0).u16(0);
    body.u16(static_cast<uint16_t>(ranges.size()));
    for (const CellRange& range : ranges)
        body.u16(static_cast<uint16_t>(range.firstRow)).u16(static_cast<uint16_t>(range.lastRow))
            .u16(range.firstColumn).u16(range.lastColumn);
    return record(0x01B0, body);
}

// The font part of a rule's format: bold and italic, in palette colour `color`.
std::vector<uint8_t> boldItalicFont(uint8_t color)
{
    std::vector<uint8_t> font(118, 0);
    font[68] = 0x02;                     // italic
    font[72] = 700 & 0xFF, font[73] = 700 >> 8;
    font[80] = color;                    // the colour; the rest of its four bytes 0
    font[88] = 0x80;                     // italic changed, strike-out kept
    font[92] = font[96] = 1;             // raising and underline kept; weight changed
    return font;
}

// A rule comparing the cell's value (comparison 1 between .. 8 less or equal) with operand
// formulas, changing the parts of the format its flags name.
RawRecord rule(uint8_t type, uint8_t comparison, const Body& first, const Body& second, uint32_t flags,
               const Body& format)
{
    return record(0x01B1, Body().u8(type).u8(comparison).u16(static_cast<uint16_t>(first.size()))
                              .u16(static_cast<uint16_t>(second.size())).u32(flags).u16(0).bytes(format.data())
                              .bytes(first.data()).bytes(second.data()));
}

Body integer(uint16_t value) { return Body().u8(0x1E).u16(value); }

// A solid fill in palette colour `color`, given as the rule's background colour.
RawRecord yellowFillRule(uint8_t comparison, const Body& first, const Body& second = {})
{
    return rule(1, comparison, first, second, (kAllKept & ~0x00040000) | kHasPattern, Body().u16(0).u16(13 << 7));
}

// Bold italic red, with a dashed left and a medium bottom border; the other sides kept.
RawRecord boldItalicRedRule(uint8_t comparison, const Body& first)
{
    constexpr uint32_t leftAndBottomChanged = kAllKept & ~(0x0400u | 0x2000u);
    return rule(1, comparison, first, {}, leftAndBottomChanged | kHasFont | kHasBorders,
                Body().bytes(boldItalicFont(10)).u32(0x2003 | 10u << 16).u32(10 | 10 << 7));
}

RawRecord blankCell(uint16_t row, uint16_t column) { return record(0x0201, Body().u16(row).u16(column).u16(15)); }

Workbook conditionalWorkbook()
{
    const Body greaterThanB1 = Body().u8(0x24).u16(0).u16(1);  // $B$1, 20
    const Body minusThree = Body().u8(0x1E).u16(3).u8(0x13);
    return loadWorkbook(WorkbookBuilder()
                            .sheet({.name = "Rules",
                                    .records = {numberCell(0, 0, 5), numberCell(0, 1, 20), numberCell(1, 0, 15),
                                                labelCell(2, 0, u"abc"), blankCell(3, 0), numberCell(4, 0, 25),
                                                numberCell(0, 2, 7), numberCell(0, 3, -4), numberCell(1, 3, -3),
                                                header({{0, 4, 0, 0}}), boldItalicRedRule(5, greaterThanB1),
                                                yellowFillRule(1, integer(10), integer(1)),
                                                header({{0, 0, 2, 2}}),
                                                rule(2, 0, Body().u8(0x23).u32(1), {}, kAllKept, Body()),  // a defined name
                                                yellowFillRule(3, integer(7)),
                                                header({{0, 1, 3, 3}}), yellowFillRule(6, minusThree)}})
                            .file());
}

const CellFormat& formatAt(const Workbook& book, uint32_t row, uint16_t column)
{
    const Cell* cell = book.sheets.at(0).cell(row, column);
    EXPECT_NE(cell, nullptr) << row << "," << column;
    return book.formats.at(cell ? cell->format : 15);
}

TEST(ConditionalFormats, TheFirstRuleThatHoldsGivesTheCellItsFormat)
{
    const Workbook book = conditionalWorkbook();
    const CellFormat& plain = book.formats.at(15);
    // 5: not above B1's 20, but between the bounds given as 10 and 1.
    EXPECT_EQ(formatAt(book, 0, 0).fillPattern, 1);
    EXPECT_EQ(formatAt(book, 0, 0).fillForeground, 13);
    EXPECT_EQ(formatAt(book, 0, 0).fontIndex, plain.fontIndex);
    // 15 meets neither rule.
    EXPECT_EQ(book.sheets[0].cell(1, 0)->format, 15);
    // A text counts as more than any number; 25 is more than 20.
    for (const uint32_t row : {2u, 4u}) {
        const CellFormat& format = formatAt(book, row, 0);
        const Font& font = book.fonts.at(format.fontIndex);
        EXPECT_TRUE(font.bold && font.italic) << row;
        EXPECT_FALSE(font.strikeout) << row;
        EXPECT_EQ(font.colorIndex, 10) << row;
        EXPECT_EQ(format.left.style, BorderStyle::Dashed) << row;
        EXPECT_EQ(format.bottom.style, BorderStyle::Medium) << row;
        EXPECT_EQ(format.top.style, plain.top.style) << row;  // the rule keeps the other sides
        EXPECT_EQ(format.fillPattern, plain.fillPattern) << row;
    }
    EXPECT_FALSE(book.fonts.at(plain.fontIndex).bold);
    // Both cells that meet the first rule share one format.
    EXPECT_EQ(book.sheets[0].cell(2, 0)->format, book.sheets[0].cell(4, 0)->format);
    // An empty cell compares as 0: not between 1 and 10.
    EXPECT_EQ(book.sheets[0].cell(3, 0)->format, 15);
}

TEST(ConditionalFormats, AFormulaRuleThatCannotBeEvaluatedLeavesTheRulesAfterItAlone)
{
    const Workbook book = conditionalWorkbook();
    // C1 holds 7, which the second rule asks for; whether the formula before it holds is unknown.
    EXPECT_EQ(book.sheets[0].cell(0, 2)->format, 15);
    ASSERT_EQ(book.sheets[0].conditionalFormats.size(), 3u);
    EXPECT_FALSE(book.sheets[0].conditionalFormats[1].rules.at(0).formula.empty());
    // A negated constant: -4 is less than -3, -3 is not.
    EXPECT_EQ(formatAt(book, 0, 3).fillForeground, 13);
    EXPECT_EQ(book.sheets[0].cell(1, 3)->format, 15);
}

// Formula rules over A1:C4, each filling the cells it holds for.
TEST(ConditionalFormats, FormulaRulesAreEvaluatedForEachCellFromItsOwnPosition)
{
    const auto relative = [](int8_t rows, int8_t columns) {  // a reference counted from the cell
        return Body().u8(0x4C).u16(static_cast<uint16_t>(rows)).u16(static_cast<uint16_t>(0xC000 | static_cast<uint8_t>(columns)));
    };
    const auto formulaRule = [](const Body& formula) {
        return rule(2, 0, formula, {}, (kAllKept & ~0x00040000) | kHasPattern, Body().u16(0).u16(13 << 7));
    };
    // MOD(ROW(),2)=1: the odd rows of column A.
    const Body oddRows = Body().u8(0x42).u8(0).u16(8).u8(0x1E).u16(2).u8(0x41).u16(39).u8(0x1E).u16(1).u8(0x0B);
    // AND(cell > its left neighbour, NOT(ISBLANK(cell))) over column C.
    const Body growing = Body().bytes(relative(0, 0).data()).bytes(relative(0, -1).data()).u8(0x0D)
                             .bytes(relative(0, 0).data()).u8(0x41).u16(129).u8(0x41).u16(38)
                             .u8(0x42).u8(2).u16(36);
    std::vector<RawRecord> records;
    for (uint16_t row = 0; row < 4; ++row) {
        records.push_back(numberCell(row, 0, row));
        records.push_back(numberCell(row, 1, 10));
        if (row != 3)
            records.push_back(numberCell(row, 2, row == 1 ? 5 : 20));
        else
            records.push_back(blankCell(row, 2));
    }
    records.insert(records.end(), {header({{0, 3, 0, 0}}), formulaRule(oddRows), header({{0, 3, 2, 2}}), formulaRule(growing)});
    const Workbook book = loadWorkbook(WorkbookBuilder().sheet({.name = "Formulas", .records = records}).file());
    const auto filled = [&](uint32_t row, uint16_t column) { return book.sheets[0].cell(row, column)->format != 15; };
    EXPECT_TRUE(filled(0, 0) && filled(2, 0));
    EXPECT_FALSE(filled(1, 0) || filled(3, 0));
    EXPECT_TRUE(filled(0, 2) && filled(2, 2));  // 20 against 10
    EXPECT_FALSE(filled(1, 2));                 // 5 against 10
    EXPECT_FALSE(filled(3, 2));                 // empty
    EXPECT_FALSE(filled(0, 1));                 // no rule over column B
}

TEST(ConditionalFormats, DateAndTextFunctionsOfFormulaRules)
{
    const auto function = [](uint16_t id) { return Body().u8(0x41).u16(id); };
    const auto cell = Body().u8(0x4C).u16(0).u16(0xC000);  // the cell being formatted
    const auto fillWhen = [](const Body& formula) {
        return rule(2, 0, formula, {}, (kAllKept & ~0x00040000) | kHasPattern, Body().u16(0).u16(13 << 7));
    };
    // NOT(ISERROR(SEARCH("AIN", cell))): the texts holding "ain" in any case.
    const Body holdsAin = Body().u8(0x17).string8(u"AIN").bytes(cell.data()).u8(0x42).u8(2).u16(82)
                              .bytes(function(3).data()).bytes(function(38).data());
    // MONTH(cell)=12 and WEEKDAY(cell)=2 and DAY(cell)=7 and YEAR(TODAY())>=2026.
    const Body mondayTheSeventh = Body().bytes(cell.data()).bytes(function(68).data()).u8(0x1E).u16(12).u8(0x0B)
                                      .bytes(cell.data()).u8(0x42).u8(1).u16(70).u8(0x1E).u16(2).u8(0x0B)
                                      .bytes(cell.data()).bytes(function(67).data()).u8(0x1E).u16(7).u8(0x0B)
                                      .bytes(function(221).data()).bytes(function(69).data()).u8(0x1E).u16(2026).u8(0x0C)
                                      .u8(0x42).u8(4).u16(36);
    // Over column C, all true for "Grain" and not for "Gravel": LEFT(cell,2)="gr", RIGHT(cell)="N",
    // MID(cell,2,3)="rai", LEN("Ünïcode")=7 characters, FIND("GRAIN",UPPER(cell))=1,
    // TRIM("  a   b ")="a b", ROUND(2.5,0)=3 and INT(-1.5)=-2.
    const auto text = [](const std::u16string& t) { return Body().u8(0x17).string8(t); };
    const auto integer = [](uint16_t v) { return Body().u8(0x1E).u16(v); };
    const auto variable = [](uint8_t count, uint16_t id) { return Body().u8(0x42).u8(count).u16(id); };
    const Body texts = Body()
        .bytes(cell.data()).bytes(integer(2).data()).bytes(variable(2, 115).data()).bytes(text(u"gr").data()).u8(0x0B)
        .bytes(cell.data()).bytes(variable(1, 116).data()).bytes(text(u"N").data()).u8(0x0B)
        .bytes(cell.data()).bytes(integer(2).data()).bytes(integer(3).data()).bytes(function(31).data())
        .bytes(text(u"rai").data()).u8(0x0B)
        .bytes(text(u"\u00DCn\u00EFcode").data()).bytes(function(32).data()).bytes(integer(7).data()).u8(0x0B)
        .bytes(text(u"GRAIN").data()).bytes(cell.data()).bytes(function(113).data()).bytes(variable(2, 124).data())
        .bytes(integer(1).data()).u8(0x0B)
        .bytes(text(u"  a   b ").data()).bytes(function(118).data()).bytes(text(u"a b").data()).u8(0x0B)
        .u8(0x1F).f64(2.5).bytes(integer(0).data()).bytes(function(27).data()).bytes(integer(3).data()).u8(0x0B)
        .u8(0x1F).f64(-1.5).bytes(function(25).data()).bytes(integer(2).data()).u8(0x13).u8(0x0B)
        .bytes(variable(8, 36).data());
    const Workbook book = loadWorkbook(
        WorkbookBuilder()
            .sheet({.name = "Functions",
                    .records = {labelCell(0, 0, u"Grain"), labelCell(1, 0, u"Dairy"), numberCell(0, 1, 46363),
                                numberCell(1, 1, 46364), labelCell(0, 2, u"Grain"), labelCell(1, 2, u"Gravel"),
                                header({{0, 1, 0, 0}}), fillWhen(holdsAin), header({{0, 1, 1, 1}}),
                                fillWhen(mondayTheSeventh), header({{0, 1, 2, 2}}), fillWhen(texts)}})
            .file());
    const auto filled = [&](uint32_t row, uint16_t column) { return book.sheets[0].cell(row, column)->format != 15; };
    EXPECT_TRUE(filled(0, 0));
    EXPECT_FALSE(filled(1, 0));
    EXPECT_TRUE(filled(0, 1));   // Monday 7 December 2026
    EXPECT_FALSE(filled(1, 1));  // the day after
    EXPECT_TRUE(filled(0, 2));
    EXPECT_FALSE(filled(1, 2));
}

TEST(ConditionalFormats, FormulaRulesOverAreasCountAndAverageTheirCells)
{
    const auto cell = Body().u8(0x4C).u16(0).u16(0xC000);
    const Body columnA = Body().u8(0x25).u16(0).u16(5).u16(0).u16(0);  // $A$1:$A$6
    const auto fillWhen = [](const Body& formula) {
        return rule(2, 0, formula, {}, (kAllKept & ~0x00040000) | kHasPattern, Body().u16(0).u16(13 << 7));
    };
    // COUNTIF($A$1:$A$6, cell)>1: the values that occur more than once, texts in any case.
    const Body repeated = Body().bytes(columnA.data()).bytes(cell.data()).u8(0x41).u16(346).u8(0x1E).u16(1).u8(0x0D);
    // cell>AVERAGE($A$1:$A$6), over column B; the average of column A's numbers is 4.
    const Body aboveAverage = Body().bytes(cell.data()).bytes(columnA.data()).u8(0x42).u8(1).u16(5).u8(0x0D);
    // AND(COUNTIF($A$1:$A$6, ">2")=3, SUM($A$1:$A$6)=16) over column C, the sum stored as an
    // attribute as the spreadsheet program stores a sum of one argument: true everywhere.
    const Body countAbove = Body().bytes(columnA.data()).u8(0x17).string8(u">2").u8(0x41).u16(346).u8(0x1E).u16(3).u8(0x0B)
                                .bytes(columnA.data()).u8(0x19).u8(0x10).u16(0).u8(0x1E).u16(16).u8(0x0B)
                                .u8(0x42).u8(2).u16(36);
    // Wildcards over column E: COUNTIF($A$1:$A$6, "d?n*")=2, COUNTIF(..., "<>*o*")=4 (numbers
    // too are not such texts) and COUNTIF(..., "~*")=0 (no text is a star).
    const auto countIf = [&](const std::u16string& criteria, uint16_t expected) {
        return Body().bytes(columnA.data()).u8(0x17).string8(criteria).u8(0x41).u16(346).u8(0x1E).u16(expected).u8(0x0B);
    };
    const Body wildcards = Body().bytes(countIf(u"d?n*", 2).data()).bytes(countIf(u"<>*o*", 4).data())
                               .bytes(countIf(u"~*", 0).data()).u8(0x42).u8(3).u16(36);
    // Cell value greater than the cell to its left, over column D: 1 against C1's 0, -1 against
    // an empty C2.
    const RawRecord aboveLeftNeighbour = rule(1, 5, Body().u8(0x4C).u16(0).u16(0xC000 | 0xFF), {},
                                              (kAllKept & ~0x00040000) | kHasPattern, Body().u16(0).u16(13 << 7));
    const Workbook book = loadWorkbook(
        WorkbookBuilder()
            .sheet({.name = "Areas",
                    .records = {numberCell(0, 0, 2), numberCell(1, 0, 5), labelCell(2, 0, u"Done"),
                                numberCell(3, 0, 5), labelCell(4, 0, u"done"), numberCell(5, 0, 4),
                                numberCell(0, 1, 3), numberCell(1, 1, 4.5), numberCell(0, 2, 0),
                                header({{0, 5, 0, 0}}), fillWhen(repeated), header({{0, 1, 1, 1}}), fillWhen(aboveAverage),
                                header({{0, 0, 2, 2}}), fillWhen(countAbove), numberCell(0, 3, 1), numberCell(1, 3, -1),
                                header({{0, 1, 3, 3}}), aboveLeftNeighbour, numberCell(0, 4, 0),
                                header({{0, 0, 4, 4}}), fillWhen(wildcards)}})
            .file());
    const auto filled = [&](uint32_t row, uint16_t column) { return book.sheets[0].cell(row, column)->format != 15; };
    for (const uint32_t row : {1u, 2u, 3u, 4u})
        EXPECT_TRUE(filled(row, 0)) << row;
    EXPECT_FALSE(filled(0, 0));
    EXPECT_FALSE(filled(5, 0));
    EXPECT_FALSE(filled(0, 1));  // 3 is below 4
    EXPECT_TRUE(filled(1, 1));   // 4.5 is above
    EXPECT_TRUE(filled(0, 2));   // 5, 5 and 4
    EXPECT_TRUE(filled(0, 3));
    EXPECT_FALSE(filled(1, 3));
    EXPECT_TRUE(filled(0, 4));
}

TEST(ConditionalFormats, DamagedRulesLeaveTheWorkbookReadableAndTheCellsAsTheyAre)
{
    const std::vector<RawRecord> damaged{
        header({{0, 0, 0, 0}}), record(0x01B1, Body().u8(1).u8(3).u16(3)),             // cut short
        header({{0, 0, 1, 1}}), rule(1, 3, Body().u8(0x1F).u16(1), {}, kAllKept, Body()),  // number cut short
        header({{0, 0, 2, 2}}), rule(1, 3, integer(1), {}, kAllKept | kHasFont, Body().u32(0)),  // font part missing
        header({{0, 0, 0, 2}}), rule(2, 0, Body().u8(0x0B).u8(0x1E), {}, kAllKept | kHasPattern, Body().u32(0)),
        record(0x01B0, Body().u16(1))};
    std::vector<RawRecord> records{numberCell(0, 0, 1), numberCell(0, 1, 1), numberCell(0, 2, 1)};
    records.insert(records.end(), damaged.begin(), damaged.end());
    const Workbook book = loadWorkbook(WorkbookBuilder().sheet({.name = "Damaged", .records = records}).file());
    for (uint16_t column = 0; column < 3; ++column)
        EXPECT_EQ(book.sheets[0].cell(0, column)->format, 15) << column;
    EXPECT_EQ(book.sheets[0].conditionalFormats.size(), 5u);
}

// Each formula would hold if the bytes its last token lacks were not missed: only the whole one fills.
TEST(ConditionalFormats, FormulaTokensCutShortMakeTheRuleUnknown)
{
    const auto fillIf = [](const Body& formula) {
        return rule(2, 0, formula, {}, (kAllKept & ~0x00040000) | kHasPattern, Body().u16(0).u16(13 << 7));
    };
    const std::vector<Body> formulas{
        Body().u8(0x1E).u16(1).u8(0x19).u8(0x04).u16(3).u16(0),  // a jump table of four entries holding one
        Body().u8(0x24).u16(0),                                    // A1, which holds 1, without its column
        Body().u8(0x1E).u16(1).u8(0x22).u8(1),                     // a function without its id
        Body().u8(0x1E).u16(1),                                    // whole: 1
    };
    std::vector<RawRecord> records;
    for (uint16_t column = 0; column < formulas.size(); ++column) {
        records.push_back(numberCell(0, column, 1));
        records.push_back(header({{0, 0, column, column}}));
        records.push_back(fillIf(formulas[column]));
    }
    const Workbook book = loadWorkbook(WorkbookBuilder().sheet({.name = "Cut", .records = records}).file());
    for (uint16_t column = 0; column + 1u < formulas.size(); ++column)
        EXPECT_EQ(book.sheets[0].cell(0, column)->format, 15) << column;
    EXPECT_EQ(formatAt(book, 0, static_cast<uint16_t>(formulas.size() - 1)).fillForeground, 13);
}

}  // namespace
