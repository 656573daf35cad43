#include "workbook/xls/defined_names.h"

#include <algorithm>
#include <array>
#include <optional>

#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

namespace {

constexpr uint8_t kPrintArea = 0x06;
constexpr uint8_t kPrintTitles = 0x07;

uint16_t columnOf(uint16_t stored)
{
    return std::min<uint16_t>(stored & 0x3FFF, kLastColumn);  // the top bits mark relative references
}

class FormulaAreas {
public:
    explicit FormulaAreas(const Globals& globals) : globals_(globals) {}

    // The areas a name's formula lists: single references, areas and unions of them.
    // Stops at the first token that is not part of such a list.
    std::vector<SheetArea> read(std::span<const std::byte> formula);

private:
    SheetArea onSheet(uint16_t externSheet, CellRange range) const;
    CellRange readArea(RecordReader& reader) const;
    CellRange readReference(RecordReader& reader) const;

    const Globals& globals_;
};

// Without a sheet reference table the name's own sheet is meant; a reference the table sends to
// another workbook, or that the table does not hold, is not a range of this workbook.
SheetArea FormulaAreas::onSheet(uint16_t externSheet, CellRange range) const
{
    SheetArea area{.range = range};
    if (globals_.externSheets.empty())
        return area;
    area.elsewhere = true;
    if (externSheet >= globals_.externSheets.size())
        return area;
    const ExternSheetEntry& entry = globals_.externSheets[externSheet];
    if (entry.supportingBook < globals_.supportingBookIsThisWorkbook.size() &&
        globals_.supportingBookIsThisWorkbook[entry.supportingBook] && entry.firstSheet >= 0) {
        area.sheet = static_cast<size_t>(entry.firstSheet);
        area.elsewhere = false;
    }
    return area;
}

CellRange FormulaAreas::readArea(RecordReader& reader) const
{
    CellRange range;
    range.firstRow = reader.u16();
    range.lastRow = reader.u16();
    range.firstColumn = columnOf(reader.u16());
    range.lastColumn = columnOf(reader.u16());
    return range;
}

CellRange FormulaAreas::readReference(RecordReader& reader) const
{
    CellRange range;
    range.firstRow = range.lastRow = reader.u16();
    range.firstColumn = range.lastColumn = columnOf(reader.u16());
    return range;
}

std::vector<SheetArea> FormulaAreas::read(std::span<const std::byte> formula)
{
    const std::array<Bytes, 1> pieces{formula};
    const Record record{.type = 0x0018, .offset = 0, .pieces = pieces};
    RecordReader reader(record);
    std::vector<SheetArea> areas;
    while (!reader.atEnd()) {
        const uint8_t token = reader.u8();
        // Token classes (reference, value, array) differ only in bits 5-6.
        const uint8_t base = (token & 0x60) ? static_cast<uint8_t>((token & 0x1F) | 0x20) : token;
        switch (base) {
        case 0x10:  // union
        case 0x15:  // parentheses
            break;
        case 0x29:  // a sub-expression of references: its tokens follow
            reader.skip(2);
            break;
        case 0x26:  // the same, with the cached areas after the formula
        case 0x27:
        case 0x28:
            reader.skip(6);
            break;
        case 0x3B: {  // area on a sheet
            const uint16_t externSheet = reader.u16();
            areas.push_back(onSheet(externSheet, readArea(reader)));
            break;
        }
        case 0x3A: {  // cell on a sheet
            const uint16_t externSheet = reader.u16();
            areas.push_back(onSheet(externSheet, readReference(reader)));
            break;
        }
        case 0x25:
            areas.push_back({std::nullopt, readArea(reader)});
            break;
        case 0x24:
            areas.push_back({std::nullopt, readReference(reader)});
            break;
        default:
            return areas;
        }
    }
    return areas;
}

bool spansAllColumns(const CellRange& range) { return range.firstColumn == 0 && range.lastColumn >= kLastColumn; }
bool spansAllRows(const CellRange& range) { return range.firstRow == 0 && range.lastRow >= kLastRow; }

void applyPrintTitles(const std::vector<CellRange>& ranges, PageSetup& setup)
{
    for (const CellRange& range : ranges) {
        if (spansAllColumns(range))
            setup.titleRows = std::pair{range.firstRow, range.lastRow};
        else if (spansAllRows(range))
            setup.titleColumns = std::pair{range.firstColumn, range.lastColumn};
    }
}

}  // namespace

std::vector<SheetArea> formulaAreas(const Globals& globals, Bytes formula)
{
    return FormulaAreas(globals).read(formula);
}

void applyBuiltinNames(const Globals& globals, std::vector<Sheet>& sheets)
{
    FormulaAreas reader(globals);
    for (const BuiltinName& name : globals.builtinNames) {
        if (name.code != kPrintArea && name.code != kPrintTitles)
            continue;
        std::vector<SheetArea> areas;
        try {
            areas = reader.read(name.formula);
        } catch (const ReadFailure&) {
            continue;
        }
        // The name belongs to the sheet it is defined on; without one, to the sheet it refers to.
        std::optional<size_t> target;
        if (name.sheetNumber > 0)
            target = name.sheetNumber - 1u;
        else if (!areas.empty())
            target = areas.front().sheet;
        if (!target || *target >= sheets.size())
            continue;
        std::vector<CellRange> ranges;
        for (const SheetArea& area : areas)
            if (!area.elsewhere && (!area.sheet || area.sheet == target) &&
                area.range.firstRow <= area.range.lastRow && area.range.firstColumn <= area.range.lastColumn)
                ranges.push_back(area.range);
        PageSetup& setup = sheets[*target].pageSetup;
        if (name.code == kPrintArea)
            setup.printArea = std::move(ranges);
        else
            applyPrintTitles(ranges, setup);
    }
}

}  // namespace kx::workbook::detail
