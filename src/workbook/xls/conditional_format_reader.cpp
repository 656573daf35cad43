#include "workbook/xls/conditional_format_reader.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "workbook/xls/cell_formats.h"
#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/scale_records.h"

namespace kx::workbook::detail {

namespace {

// A sheet of the file format's size holds few of them; more are a damaged or crafted file.
constexpr size_t kMaximumRanges = 1024;
constexpr size_t kMaximumFormats = 4096;
constexpr size_t kMaximumRules = 16;
// Formulas longer than this are left unknown: a rule's are evaluated for every cell it covers.
constexpr uint16_t kLongestFormula = 512;

// Which parts the rule's format holds, and which of their settings it leaves as they were.
constexpr uint32_t kLeftBorderKept = 0x00000400, kRightBorderKept = 0x00000800, kTopBorderKept = 0x00001000,
                   kBottomBorderKept = 0x00002000, kPatternKept = 0x00010000, kForegroundKept = 0x00020000,
                   kBackgroundKept = 0x00040000, kHasNumberFormat = 0x02000000, kHasFont = 0x04000000,
                   kHasAlignment = 0x08000000, kHasBorders = 0x10000000, kHasPattern = 0x20000000,
                   kHasProtection = 0x40000000;
constexpr uint16_t kOwnNumberFormat = 0x0002;
constexpr size_t kFontBlockSize = 118, kAlignmentBlockSize = 8, kProtectionBlockSize = 2;
constexpr uint32_t kNoColor = 0xFFFFFFFF;

Underline underlineOf(uint8_t stored)
{
    switch (stored) {
    case 0x01: return Underline::Single;
    case 0x02: return Underline::Double;
    case 0x21: return Underline::SingleAccounting;
    case 0x22: return Underline::DoubleAccounting;
    default: return Underline::None;
    }
}

// Each setting of the font that the rule changes: a "kept" mark of 0 means changed. The block
// holds, in order: the name (64 bytes), height, style bits, weight, raising, underline and its
// padding, colour, a reserved word, then the kept marks of style, raising, underline and weight,
// and 14 bytes unused here.
void readFontChange(RecordReader& reader, FormatChange& change)
{
    reader.skip(64 + 4);
    const uint32_t options = reader.u32();
    const uint16_t weight = reader.u16();
    reader.skip(2);
    const uint8_t underline = reader.u8();
    reader.skip(3);
    const uint32_t color = reader.u32();
    reader.skip(4);
    const uint32_t keptStyle = reader.u32();
    reader.skip(4);
    const uint32_t keptUnderline = reader.u32(), keptWeight = reader.u32();
    reader.skip(14);
    if ((keptStyle & 0x02) == 0)
        change.italic = (options & 0x02) != 0;
    if ((keptStyle & 0x80) == 0)
        change.strikeout = (options & 0x80) != 0;
    if (keptUnderline == 0)
        change.underline = underlineOf(underline);
    if (keptWeight == 0)
        change.bold = weight >= 600;
    if (color != kNoColor && color <= 0x7FFF)
        change.fontColor = static_cast<uint16_t>(color);
}

void readBorderChange(RecordReader& reader, uint32_t flags, FormatChange& change)
{
    const uint32_t sides = reader.u32(), more = reader.u32();
    if ((flags & kLeftBorderKept) == 0)
        change.left = Border{borderStyle(sides), static_cast<uint16_t>(sides >> 16 & 0x7F)};
    if ((flags & kRightBorderKept) == 0)
        change.right = Border{borderStyle(sides >> 4), static_cast<uint16_t>(sides >> 23 & 0x7F)};
    if ((flags & kTopBorderKept) == 0)
        change.top = Border{borderStyle(sides >> 8), static_cast<uint16_t>(more & 0x7F)};
    if ((flags & kBottomBorderKept) == 0)
        change.bottom = Border{borderStyle(sides >> 12), static_cast<uint16_t>(more >> 7 & 0x7F)};
}

void readPatternChange(RecordReader& reader, uint32_t flags, FormatChange& change)
{
    const uint16_t pattern = reader.u16(), colors = reader.u16();
    if ((flags & kPatternKept) == 0)
        change.fillPattern = static_cast<uint8_t>(pattern >> 10 & 0x3F);
    if ((flags & kForegroundKept) == 0)
        change.fillForeground = colors & 0x7F;
    if ((flags & kBackgroundKept) == 0)
        change.fillBackground = colors >> 7 & 0x7F;
}

std::vector<uint8_t> bytesOf(RecordReader& reader, uint16_t size)
{
    std::vector<uint8_t> bytes(std::min<size_t>(size, reader.remaining()));
    for (uint8_t& byte : bytes)
        byte = reader.u8();
    return bytes;
}

// The size of the parts of the rule's format that `flags` says it holds, but for its number format.
size_t formatBlocksSize(uint32_t flags)
{
    return ((flags & kHasFont) ? kFontBlockSize : 0) + ((flags & kHasAlignment) ? kAlignmentBlockSize : 0) +
           ((flags & kHasBorders) ? 8 : 0) + ((flags & kHasPattern) ? 4 : 0) +
           ((flags & kHasProtection) ? kProtectionBlockSize : 0);
}


// The parts of the format a rule gives the cells it holds for: which parts it has, then each.
// False when the record ends inside them.
bool readDifferentialFormat(RecordReader& reader, FormatChange& change)
{
    if (reader.remaining() < 6)
        return false;
    const uint32_t flags = reader.u32();
    const uint16_t moreFlags = reader.u16();
    if (flags & kHasNumberFormat) {
        const size_t size = (moreFlags & kOwnNumberFormat) && reader.remaining() >= 2 ? reader.u16() : 4;
        if (size < 4 || size - 2 > reader.remaining())
            return false;
        reader.skip(size - 2);
    }
    if (reader.remaining() < formatBlocksSize(flags))
        return false;
    if (flags & kHasFont)
        readFontChange(reader, change);
    if (flags & kHasAlignment)
        reader.skip(kAlignmentBlockSize);
    if (flags & kHasBorders)
        readBorderChange(reader, flags, change);
    if (flags & kHasPattern)
        readPatternChange(reader, flags, change);
    if (flags & kHasProtection)
        reader.skip(kProtectionBlockSize);
    return true;
}

// What a rule asks of a cell: a formula of its own (type 2), or a comparison of the cell's value
// with one or two formulas (type 1, comparison 1 between .. 8 less or equal). The rule stays
// unknown when it is neither or its formulas are too long to evaluate.
void readCondition(RecordReader& reader, uint8_t type, uint8_t comparison, uint16_t firstSize, uint16_t secondSize,
                   ConditionalRule& rule)
{
    if (firstSize == 0 || firstSize > kLongestFormula || secondSize > kLongestFormula)
        return;
    if (type == 2) {
        rule.formula = bytesOf(reader, firstSize);
        return;
    }
    if (type != 1 || comparison < 1 || comparison > 8)
        return;
    rule.comparison = static_cast<Comparison>(comparison - 1);
    const bool between = rule.comparison == Comparison::Between || rule.comparison == Comparison::NotBetween;
    if (between && secondSize == 0)
        return;
    rule.operands.push_back(bytesOf(reader, firstSize));
    if (between)
        rule.operands.push_back(bytesOf(reader, secondSize));
}

// A colour of its own: its kind (palette index 1, red-green-blue 2, theme colour 3), a tint in
// 1/32767, the value, and eight bytes unused. Palette indexes are those the format already has.
std::optional<Color> readExactColor(RecordReader& reader)
{
    const uint16_t kind = reader.u16();
    const double tint = reader.i16() / 32767.0;
    const uint8_t first = reader.u8(), second = reader.u8(), third = reader.u8(), fourth = reader.u8();
    reader.skip(8);
    if (kind == 2)
        return tinted({first, second, third}, tint);
    if (kind == 3)
        return themeColor(first | second << 8 | third << 16 | static_cast<uint32_t>(fourth) << 24, tint);
    return std::nullopt;
}

// The colours of their own that later versions add to a format, in the `size` bytes after its
// older parts: a header, then properties each with its kind and size. Only the fill's and the
// text's colours are read; a property reaching past the format ends the reading.
void readExactColors(RecordReader& reader, size_t size, FormatChange& change)
{
    constexpr size_t kHeaderSize = 8, kPropertyHeaderSize = 4, kColorSize = 16;
    constexpr uint16_t kFillForeground = 4, kFillBackground = 5, kText = 13;
    if (size < kHeaderSize) {
        reader.skip(size);
        return;
    }
    reader.skip(6);
    const uint16_t count = reader.u16();
    size -= kHeaderSize;
    for (uint16_t i = 0; i < count && size >= kPropertyHeaderSize; ++i) {
        const uint16_t kind = reader.u16(), propertySize = reader.u16();
        size -= kPropertyHeaderSize;
        if (propertySize < kPropertyHeaderSize || propertySize - kPropertyHeaderSize > size)
            break;
        const size_t dataSize = propertySize - kPropertyHeaderSize;
        size -= dataSize;
        std::optional<Color>* target = kind == kFillForeground   ? &change.exactFillForeground
                                       : kind == kFillBackground ? &change.exactFillBackground
                                       : kind == kText           ? &change.exactFontColor
                                                                 : nullptr;
        if (!target || dataSize < kColorSize) {
            reader.skip(dataSize);
            continue;
        }
        *target = readExactColor(reader);
        reader.skip(dataSize - kColorSize);
    }
    reader.skip(size);
}

// A format of the later records: its size, then the parts the older records' formats have (into
// `parts`), then colours of its own (into `colors`).
void readSizedFormat(RecordReader& reader, FormatChange& parts, FormatChange& colors)
{
    const uint32_t formatSize = reader.u32();
    if (formatSize == 0) {
        reader.skip(2);
        return;
    }
    const size_t before = reader.remaining();
    if (formatSize > before || !readDifferentialFormat(reader, parts) || before - reader.remaining() > formatSize)
        reader.fail("a conditional format's rule whose format is longer than the rule");
    readExactColors(reader, formatSize - (before - reader.remaining()), colors);
}

// The newer records start with the record's type, options and the cells they are about (which
// the header's ranges say again).
constexpr size_t kFutureHeaderSize = 12;

// The kinds of the newer rule record beside the two of the older one.
constexpr uint8_t kColorScale = 3, kDataBar = 4, kIconSet = 6;

}  // namespace

bool ConditionalFormatReader::read(const Record& record)
{
    RecordReader reader(record);
    switch (record.type) {
    case record_type::ConditionalHeader: readHeader(reader, false); return true;
    case record_type::ConditionalRule: readRule(reader); return true;
    case record_type::ConditionalHeader12: readHeader(reader, true); return true;
    case record_type::ConditionalExtension:
    case record_type::ConditionalRule12:
        try {
            if (record.type == record_type::ConditionalExtension)
                readExtension(reader);
            else
                readNewerRule(reader);
        } catch (const ReadFailure&) {
            // A rule stays as far as it was read: unknown, unless it was whole.
            if (warnings_)
                warnings_->add(record.type, record.offset, "a damaged conditional-format rule, left unapplied");
        }
        return true;
    default: return false;
    }
}

void ConditionalFormatReader::readHeader(RecordReader& reader, bool newer)
{
    newerRulesGoTo_.reset();
    if (sheet_.conditionalFormats.size() >= kMaximumFormats)
        return;
    ConditionalFormat& format = sheet_.conditionalFormats.emplace_back();
    if (reader.remaining() < 14 + (newer ? kFutureHeaderSize : 0))
        return;
    if (newer)
        reader.skip(kFutureHeaderSize);
    reader.skip(2);  // rule count
    const uint16_t id = reader.u16() >> 1;  // after the recalculation mark
    formatsById_[id] = sheet_.conditionalFormats.size() - 1;
    if (newer)
        newerRulesGoTo_ = formatsById_[id];
    reader.skip(8);  // the ranges' bounds
    const uint16_t count = reader.u16();
    for (uint16_t i = 0; i < count && i < kMaximumRanges && reader.remaining() >= 8; ++i) {
        CellRange range;
        range.firstRow = reader.u16();
        range.lastRow = reader.u16();
        range.firstColumn = reader.u16();
        range.lastColumn = reader.u16();
        if (range.firstRow <= range.lastRow && range.firstColumn <= range.lastColumn)
            format.ranges.push_back(range);
    }
}

void ConditionalFormatReader::readRule(RecordReader& reader)
{
    if (sheet_.conditionalFormats.empty() || sheet_.conditionalFormats.back().rules.size() >= kMaximumRules)
        return;
    // A rule cut short still takes its place, unknown, so that the rules after it stay unapplied.
    ConditionalRule& rule = sheet_.conditionalFormats.back().rules.emplace_back();
    if (reader.remaining() < 6)
        return;
    const uint8_t type = reader.u8(), comparison = reader.u8();
    const uint16_t firstSize = reader.u16(), secondSize = reader.u16();
    if (readDifferentialFormat(reader, rule.change))
        readCondition(reader, type, comparison, firstSize, secondSize, rule);
}

// A header of the older kind may take a newer rule when an extension naming it comes first. An
// extension of one of its older rules gives that rule the colours of its own beside the
// palette's: the rule's comparison, template, priority and options, then, when it has one, a
// format whose older parts repeat the rule's.
void ConditionalFormatReader::readExtension(RecordReader& reader)
{
    newerRulesGoTo_.reset();
    if (reader.remaining() < kFutureHeaderSize + 6)
        return;
    reader.skip(kFutureHeaderSize);
    const bool newerRuleFollows = reader.u32() == 1;
    const auto format = formatsById_.find(reader.u16());
    if (format == formatsById_.end())
        return;
    if (newerRuleFollows) {
        newerRulesGoTo_ = format->second;
        return;
    }
    std::vector<ConditionalRule>& rules = sheet_.conditionalFormats[format->second].rules;
    const uint16_t index = reader.u16();
    reader.skip(1 + 1 + 2 + 1);
    if (index >= rules.size() || reader.u8() == 0)
        return;
    FormatChange repeated;
    readSizedFormat(reader, repeated, rules[index].change);
}

// The rule's format, its formulas, a formula that switches it on (not read), its options and
// template, then what a colour scale, data bar or icon set needs. Icon sets are left out: they
// change no cell's format, and the engine draws no icons.
void ConditionalFormatReader::readNewerRule(RecordReader& reader)
{
    if (!newerRulesGoTo_)
        return;
    ConditionalFormat& format = sheet_.conditionalFormats[*newerRulesGoTo_];
    reader.skip(kFutureHeaderSize);
    const uint8_t type = reader.u8(), comparison = reader.u8();
    if (type == kIconSet || format.rules.size() >= kMaximumRules)
        return;
    ConditionalRule& rule = format.rules.emplace_back();
    const uint16_t firstSize = reader.u16(), secondSize = reader.u16();
    readSizedFormat(reader, rule.change, rule.change);
    if (type != kColorScale && type != kDataBar) {
        readCondition(reader, type, comparison, firstSize, secondSize, rule);
        return;
    }
    reader.skip(size_t{firstSize} + secondSize);
    reader.skip(reader.u16());   // the formula that switches the rule on
    reader.skip(1 + 2 + 2);      // options, priority, template
    reader.skip(1 + 16);         // the template's parameters, always 16 bytes
    if (type == kColorScale)
        rule.colorScale = readColorScale(reader);
    else
        rule.dataBar = readDataBar(reader);
    // One with a kind of threshold or colour this reader does not know is no rule at all here.
    if (!rule.colorScale && !rule.dataBar)
        format.rules.pop_back();
}

}  // namespace kx::workbook::detail
