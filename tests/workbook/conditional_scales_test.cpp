// Conditional formats in the records later program versions added: plain rules that print as
// the older records' do, colour scales filling each number, data bars, and damaged records.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "workbook/format/cell_content.h"
#include "workbook/model/cell_fill.h"
#include "print_test_support.h"
#include "workbook/xls/reader.h"
#include "xls_builder.h"

using namespace kx::workbook;
using namespace kx::testing;

namespace {

constexpr uint32_t kFillChanged = 0x003FFFFF & ~0x00040000u, kHasPattern = 0x20000000;
constexpr Color kRed{255, 0, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0}, kWhite{255, 255, 255};

Body futureHeader(uint16_t type) { return Body().u16(type).u16(0).u32(0).u32(0); }

Body ranges(const CellRange& range, uint16_t id)
{
    return Body().u16(1).u16(static_cast<uint16_t>(id << 1)).u32(0).u32(0).u16(1)
        .u16(static_cast<uint16_t>(range.firstRow)).u16(static_cast<uint16_t>(range.lastRow))
        .u16(range.firstColumn).u16(range.lastColumn);
}

const CellRange kColumnA{0, 4, 0, 0};

RawRecord newerHeader(uint16_t id = 1)
{
    return record(0x0879, futureHeader(0x0879).bytes(ranges(kColumnA, id).data()));
}
RawRecord olderHeader(uint16_t id = 1) { return record(0x01B0, ranges(kColumnA, id)); }
RawRecord newerRuleFollows(uint16_t id) { return record(0x087B, futureHeader(0x087B).u32(1).u16(id)); }

Body integer(uint16_t value) { return Body().u8(0x1E).u16(value); }

// A solid fill in palette colour 13, given as the rule's background colour.
Body yellowFill() { return Body().u32(kFillChanged | kHasPattern).u16(0).u16(0).u16(13 << 7); }

// Colours of their own after a format: the fill's background (the colour a solid fill shows).
Body exactFill(uint16_t kind, uint32_t value)
{
    return Body().u16(0).u16(0xFFFF).u16(0).u16(1).u16(5).u16(20).u16(kind).u16(0).u32(value).u32(0).u32(0);
}

// Extends the older rule `index` of the header `id` with a format.
RawRecord olderRuleExtended(uint16_t id, uint16_t index, const Body& format)
{
    return record(0x087B, futureHeader(0x087B).u32(0).u16(id).u16(index).u8(0).u8(0).u16(1).u8(1).u8(1)
                              .u32(static_cast<uint32_t>(format.size())).bytes(format.data()).u8(16)
                              .bytes(std::vector<uint8_t>(16)));
}

// The newer rule record: its condition and format, then, for a colour scale or data bar, what it needs.
RawRecord newerRule(uint8_t type, uint8_t comparison, const Body& first, const Body& format = {}, const Body& scale = {})
{
    Body body = futureHeader(0x087A).u8(type).u8(comparison).u16(static_cast<uint16_t>(first.size())).u16(0);
    body.u32(static_cast<uint32_t>(format.size()));
    if (format.size() == 0)
        body.u16(0);
    body.bytes(format.data()).bytes(first.data()).u16(0).u8(1).u16(1).u16(0).u8(16).bytes(std::vector<uint8_t>(16));
    return record(0x087A, body.bytes(scale.data()));
}

Body rgb(Color color) { return Body().u32(2).u8(color.red).u8(color.green).u8(color.blue).u8(0xFF).f64(0); }
Body themeColor(uint32_t index, double tint) { return Body().u32(3).u32(index).f64(tint); }

enum : uint8_t { kNumber = 1, kMinimum = 2, kMaximum = 3, kPercent = 4, kPercentile = 5, kFormula = 7 };
Body threshold(uint8_t kind, double value = 0)
{
    Body body = Body().u8(kind).u16(0);
    return kind == kMinimum || kind == kMaximum ? body : body.f64(value);
}
Body formulaThreshold(const Body& formula)
{
    return Body().u8(kFormula).u16(static_cast<uint16_t>(formula.size())).bytes(formula.data());
}

RawRecord colorScale(const std::vector<std::pair<Body, Body>>& points)
{
    const auto count = static_cast<uint8_t>(points.size());
    Body scale = Body().u16(0).u8(0).u8(count).u8(count).u8(3);
    for (const auto& point : points)
        scale.bytes(point.first.data()).f64(0);
    for (const auto& point : points)
        scale.f64(0).bytes(point.second.data());
    return newerRule(3, 0, {}, {}, scale);
}

RawRecord dataBar(const Body& shortest, const Body& longest, uint8_t shortestPercent, uint8_t longestPercent,
                  bool barOnly = false)
{
    return newerRule(4, 0, {}, {},
                     Body().u16(0).u8(0).u8(barOnly ? 2 : 0).u8(shortestPercent).u8(longestPercent)
                         .bytes(rgb(kBlue).data())
                         .bytes(shortest.data()).bytes(longest.data()));
}

RawRecord cutShort(const RawRecord& whole, size_t dropped)
{
    RawRecord cut = whole;
    cut.body.resize(cut.body.size() - dropped);
    return cut;
}

// What a cell of column A (holding 0, 25, 50, 75, 100 from row 0) shows.
struct Shown {
    uint32_t row;
    Color fill;
    std::optional<double> bar = std::nullopt;
    bool valueShown = true;
};

struct Case {
    const char* name;
    std::vector<RawRecord> records;
    std::vector<Shown> cells;
    size_t warnings = 0;
};

TEST(NewerConditionalFormats, CellsShowTheirRulesScalesAndBars)
{
    const Body greaterThan60 = integer(60);
    const RawRecord olderRule =
        record(0x01B1, Body().u8(1).u8(5).u16(3).u16(0).bytes(yellowFill().data()).bytes(greaterThan60.data()));
    const std::vector<Case> cases{
        {"a value rule prints as the older record's", {newerHeader(), newerRule(1, 5, greaterThan60, yellowFill())},
         {{3, kYellow}, {1, kWhite}}},
        {"the older record's rule, for the comparison", {olderHeader(), olderRule}, {{3, kYellow}, {1, kWhite}}},
        {"an extension gives an older rule a fill colour of its own",
         {olderHeader(3), olderRule,
          olderRuleExtended(3, 0, Body().bytes(yellowFill().data()).bytes(exactFill(2, 0x00CEEFC6).data()))},
         {{3, {0xC6, 0xEF, 0xCE}}, {1, kWhite}}},
        {"a newer rule's theme colour of its own",
         {newerHeader(),
          newerRule(1, 5, greaterThan60, Body().bytes(yellowFill().data()).bytes(exactFill(3, 4).data()))},
         {{3, {0x4F, 0x81, 0xBD}}}},
        {"a formula rule", {newerHeader(), newerRule(2, 0, integer(1), yellowFill())}, {{0, kYellow}}},
        {"an extension ties a newer rule to an older header",
         {olderHeader(7), newerRuleFollows(7), newerRule(1, 5, greaterThan60, yellowFill())},
         {{3, kYellow}, {2, kWhite}}},
        {"an icon set leaves the rules after it to apply",
         {newerHeader(), newerRule(6, 0, {}), newerRule(1, 5, greaterThan60, yellowFill())}, {{4, kYellow}}},
        {"a newer rule without a header before it is not applied", {newerRule(2, 0, integer(1), yellowFill())},
         {{0, kWhite}}},
        {"two colours from the lowest to the highest number",
         {newerHeader(), colorScale({{threshold(kMinimum), rgb(kRed)}, {threshold(kMaximum), rgb(kBlue)}})},
         {{0, kRed}, {2, {128, 0, 128}}, {4, kBlue}}},
        {"three colours, the middle at the 50th percentile, in theme colours",
         {newerHeader(), colorScale({{threshold(kMinimum), rgb(kRed)}, {threshold(kPercentile, 50), themeColor(0, 0)},
                                     {threshold(kMaximum), themeColor(1, 0.5)}})},
         {{1, {255, 128, 128}}, {2, kWhite}, {4, {128, 128, 128}}}},
        {"percent and number thresholds, numbers beyond them in the end colours",
         {newerHeader(), colorScale({{threshold(kPercent, 25), rgb(kRed)}, {threshold(kNumber, 75), rgb(kBlue)}})},
         {{0, kRed}, {2, {128, 0, 128}}, {4, kBlue}}},
        {"a formula threshold", {newerHeader(), colorScale({{formulaThreshold(integer(50)), rgb(kRed)},
                                                            {threshold(kMaximum), rgb(kBlue)}})},
         {{1, kRed}, {3, {128, 0, 128}}}},
        {"a data bar from 10 to 90 percent of the cell",
         {newerHeader(), dataBar(threshold(kMinimum), threshold(kMaximum), 10, 90)},
         {{0, kWhite, 0.1}, {2, kWhite, 0.5}, {4, kWhite, 0.9}}},
        {"a data bar between numbers", {newerHeader(), dataBar(threshold(kNumber, 0), threshold(kNumber, 200), 0, 100)},
         {{4, kWhite, 0.5}}},
        {"a bar alone leaves out the value",
         {newerHeader(), dataBar(threshold(kMinimum), threshold(kMaximum), 0, 100, true)},
         {{2, kWhite, 0.5, false}}},
        {"a scale cut short is a warning and no fill",
         {newerHeader(),
          cutShort(colorScale({{threshold(kMinimum), rgb(kRed)}, {threshold(kMaximum), rgb(kBlue)}}), 10),
          newerRule(1, 5, greaterThan60, yellowFill())},
         {{0, kWhite}, {4, kWhite}}, 1},
        {"a format longer than its rule is a warning",
         {newerHeader(), cutShort(newerRule(1, 5, greaterThan60, yellowFill()), 30)}, {{4, kWhite}}, 1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<RawRecord> records;
        for (uint16_t row = 0; row < 5; ++row)
            records.push_back(numberCell(row, 0, row * 25.0));
        records.insert(records.end(), test.records.begin(), test.records.end());
        const Workbook book = loadWorkbook(WorkbookBuilder().sheet({.name = "Rules", .records = records}).file());
        const Sheet& sheet = book.sheets.at(0);
        for (const Shown& cell : test.cells) {
            const Cell& shown = *sheet.cell(cell.row, 0);
            EXPECT_EQ(cellContent(book, shown)->text.empty(), !cell.valueShown) << "row " << cell.row;
            const Color fill = fillColor(book, book.formats.at(shown.format));
            EXPECT_EQ(fill, cell.fill) << "row " << cell.row << ": " << int(fill.red) << "," << int(fill.green) << ","
                                       << int(fill.blue);
            const DataBar* bar = sheet.dataBar(cell.row, 0);
            ASSERT_EQ(bar != nullptr, cell.bar.has_value()) << "row " << cell.row;
            if (bar) {
                EXPECT_NEAR(bar->length, *cell.bar, 1e-9) << "row " << cell.row;
                EXPECT_EQ(bar->color, kBlue);
            }
        }
        EXPECT_EQ(book.warnings.kept().size(), test.warnings);
    }
}

// The widest run of strongly blue pixels in each group of image rows that has some, from the top.
std::vector<int> blueRunWidths(const std::string& ppm)
{
    std::istringstream image(ppm);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    image >> magic >> width >> height >> maximum;
    image.get();
    std::vector<int> widths;
    bool inGroup = false;
    for (int y = 0; y < height; ++y) {
        int blue = 0;
        for (int x = 0; x < width; ++x) {
            const int red = image.get(), green = image.get(), blueness = image.get();
            blue += blueness > 200 && red < 128 && green < 128;
        }
        if (blue > 0 && !inGroup)
            widths.push_back(0);
        if (blue > 0)
            widths.back() = std::max(widths.back(), blue);
        inGroup = blue > 0;
    }
    return widths;
}

// The painter draws each bar in its cell, under its number, as long as its share of the cell.
TEST(NewerConditionalFormats, DataBarsPrintTheirShareOfTheCell)
{
    namespace support = kx::workbook::testing;
    Workbook book = support::workbookWithSheet();
    support::setNumber(book.sheets[0], 0, 0, 1);
    support::setNumber(book.sheets[0], 2, 0, 4);
    book.sheets[0].dataBars = {{{0, 0}, 0.25, kBlue}, {{2, 0}, 1.0, kBlue}};
    const support::ScratchFolder folder;
    const auto pdf = support::printToPdf(book, folder);
    const std::vector<int> widths = blueRunWidths(support::pdfToolOutput("pdftoppm -r 144 -f 1 -l 1", pdf));
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_GT(widths[1], 20);
    EXPECT_NEAR(widths[0] / static_cast<double>(widths[1]), 0.25, 0.05);
}

}  // namespace
