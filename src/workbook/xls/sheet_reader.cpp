#include "workbook/xls/passed_over_records.h"
#include "workbook/xls/sheet_reader.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "workbook/xls/cell_formats.h"
#include "workbook/xls/conditional_format_reader.h"
#include "workbook/xls/chart_records.h"
#include "workbook/xls/comment_records.h"
#include "workbook/xls/custom_views.h"
#include "workbook/xls/drawing_records.h"
#include "workbook/xls/hyperlink_records.h"
#include "workbook/xls/page_setup_records.h"
#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/text_decoding.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kDefaultCellFormat = 15;

double decodeRk(uint32_t rk)
{
    double value;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        value = std::bit_cast<double>(static_cast<uint64_t>(rk & 0xFFFFFFFC) << 32);
    }
    return (rk & 0x01) ? value / 100 : value;
}

class SheetReader {
public:
    SheetReader(const SheetContext& context, Sheet& sheet, std::vector<RichText>& strings)
        : context_(context), sheet_(sheet), strings_(strings),
          drawings_(context.fontCount, sheet.kind == SheetKind::Chart ? ShapePlacement::Chart : ShapePlacement::Cells,
                    context.warnings),
          chart_(context), conditions_(sheet, context.warnings)
    {
    }
    size_t read(Bytes stream, size_t offset);

private:
    void readRecord(const Record& record);
    void readEmbeddedSubstream(RecordStream& records);
    void warn(uint16_t recordType, size_t offset, std::string dropped);

    // Cells
    struct CellHeader {
        uint16_t row;
        uint16_t column;
        uint16_t format;
    };
    CellHeader readCellHeader(RecordReader& reader);
    uint16_t checkedFormat(uint16_t stored) const;
    uint16_t checkedColumn(RecordReader& reader, size_t column) const;
    void addCell(uint16_t row, Cell cell);
    void readNumber(RecordReader& reader);
    void readRk(RecordReader& reader);
    void readMulRk(RecordReader& reader);
    void readLabelSst(RecordReader& reader);
    void readLabel(RecordReader& reader);
    void readRString(RecordReader& reader);
    void readBoolErr(RecordReader& reader);
    void readBlank(RecordReader& reader);
    void readMulBlank(RecordReader& reader);
    void readFormula(RecordReader& reader);
    void readString(RecordReader& reader);

    // Rows and columns
    Row& rowAt(uint16_t index);
    void readRow(RecordReader& reader);
    void readDefaultRowHeight(RecordReader& reader);
    void readColInfo(RecordReader& reader);
    void readMergedCells(RecordReader& reader);
    void finish();

    const SheetContext& context_;
    Sheet& sheet_;
    std::vector<RichText>& strings_;
    CommentCollector comments_;
    CustomViewSkipper customViews_;
    DrawingCollector drawings_;
    ChartReader chart_;  // a chart sheet's own chart
    ConditionalFormatReader conditions_;
    bool fitToPage_ = false;
    std::vector<int32_t> rowSlots_;      // row index -> position in sheet_.rows, -1 when absent
    bool cellsOutOfOrder_ = false;
    std::optional<uint32_t> pendingFormulaText_;  // the string a STRING record will fill
};

size_t SheetReader::read(Bytes stream, size_t offset)
{
    // A chart sheet prints across the page until its set-up stores printer settings that say otherwise.
    if (sheet_.kind == SheetKind::Chart)
        sheet_.pageSetup.landscape = true;
    RecordStream records(stream, offset);
    Record record;
    try {
        if (!records.next(record) || record.type != record_type::Bof)
            failCorrupt(0, offset, "the sheet \"" + sheet_.name + "\" does not start where the workbook says");
        while (records.next(record)) {
            if (record.type == record_type::Eof) {
                finish();
                return records.position();
            }
            if (record.type == record_type::Bof)
                readEmbeddedSubstream(records);
            else
                readRecord(record);
        }
        warn(record_type::Eof, stream.size(),
             "the end record of the sheet \"" + sheet_.name + "\" is missing; what comes before it is kept");
    } catch (const CutShortRecord& cut) {
        warn(cut.recordType(), cut.offset(), "the rest of the sheet \"" + sheet_.name + "\": " + cut.problem());
    }
    finish();
    return stream.size();
}

void SheetReader::warn(uint16_t recordType, size_t offset, std::string dropped)
{
    if (context_.warnings)
        context_.warnings->add(recordType, offset, std::move(dropped));
}

// Embedded charts sit inside the sheet as substreams of their own, right after the object that
// shows them; a substream inside one is passed over.
void SheetReader::readEmbeddedSubstream(RecordStream& records)
{
    ChartReader chart(context_);
    int depth = 1;
    Record record;
    while (depth > 0 && records.next(record)) {
        if (record.type == record_type::Bof)
            ++depth;
        else if (record.type == record_type::Eof)
            --depth;
        else if (depth == 1)
            chart.read(record);
    }
    // One the stream ends inside is left out: the sheet warns that it was cut short.
    if (depth > 0 || sheet_.kind != SheetKind::Worksheet)
        return;
    if (auto read = chart.take()) {
        sheet_.charts.push_back(std::move(*read));
        drawings_.attachChart(static_cast<uint32_t>(sheet_.charts.size() - 1));
    }
}

void SheetReader::readRecord(const Record& record)
{
    if (customViews_.belongsToView(record))
        return;
    if (readPageSetupRecord(record, sheet_.pageSetup))
        return;
    RecordReader reader(record);
    if (record.type == record_type::Window2) {
        sheet_.rightToLeft = (reader.u16() & 0x0040) != 0;
        return;
    }
    if (sheet_.kind == SheetKind::Worksheet || sheet_.kind == SheetKind::Chart)
        drawings_.read(record);
    if (sheet_.kind == SheetKind::Chart)
        chart_.read(record);
    // A chart keeps the values of its series in cell records of its own; they are no cells.
    if (sheet_.kind == SheetKind::Chart || sheet_.kind == SheetKind::Other || comments_.read(record) ||
        conditions_.read(record))
        return;
    switch (record.type) {
    case record_type::Number: readNumber(reader); break;
    case record_type::Rk: readRk(reader); break;
    case record_type::MulRk: readMulRk(reader); break;
    case record_type::LabelSst: readLabelSst(reader); break;
    case record_type::Label: readLabel(reader); break;
    case record_type::RString: readRString(reader); break;
    case record_type::BoolErr: readBoolErr(reader); break;
    case record_type::Blank: readBlank(reader); break;
    case record_type::MulBlank: readMulBlank(reader); break;
    case record_type::Formula:
    case record_type::FormulaOfExcel4: readFormula(reader); break;
    case record_type::String: readString(reader); break;
    case record_type::Row: readRow(reader); break;
    case record_type::DefaultRowHeight: readDefaultRowHeight(reader); break;
    case record_type::ColInfo: readColInfo(reader); break;
    case record_type::DefColWidth: sheet_.defaultColumnWidth = reader.u16(); break;
    case record_type::StandardWidth: sheet_.standardColumnWidth = reader.u16(); break;
    case record_type::MergedCells: readMergedCells(reader); break;
    case record_type::WsBool: fitToPage_ = (reader.u16() & 0x0100) != 0; break;
    case record_type::Hyperlink: readHyperlink(reader, sheet_); break;
    default:
        if (context_.warnings)
            passOver(record, *context_.warnings);
        break;
    }
}

SheetReader::CellHeader SheetReader::readCellHeader(RecordReader& reader)
{
    CellHeader header;
    header.row = reader.u16();
    header.column = checkedColumn(reader, reader.u16());
    header.format = checkedFormat(reader.u16());
    pendingFormulaText_.reset();
    return header;
}

uint16_t SheetReader::checkedFormat(uint16_t stored) const
{
    if (stored < context_.formatCount)
        return stored;
    return context_.formatCount > kDefaultCellFormat ? kDefaultCellFormat : 0;
}

uint16_t SheetReader::checkedColumn(RecordReader& reader, size_t column) const
{
    if (column > kLastColumn)
        reader.fail("a cell lies beyond the last column, IV");
    return static_cast<uint16_t>(column);
}

Row& SheetReader::rowAt(uint16_t index)
{
    if (rowSlots_.empty())
        rowSlots_.assign(maxRows, -1);
    int32_t& slot = rowSlots_[index];
    if (slot < 0) {
        if (!sheet_.rows.empty() && sheet_.rows.back().index > index)
            cellsOutOfOrder_ = true;
        slot = static_cast<int32_t>(sheet_.rows.size());
        sheet_.rows.push_back(Row{.index = index, .heightTwips = sheet_.defaultRowHeightTwips});
    }
    return sheet_.rows[static_cast<size_t>(slot)];
}

void SheetReader::addCell(uint16_t row, Cell cell)
{
    Row& target = rowAt(row);
    if (!target.cells.empty() && target.cells.back().column >= cell.column)
        cellsOutOfOrder_ = true;
    target.cells.push_back(cell);
}

void SheetReader::readNumber(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    addCell(at.row, {.column = at.column, .format = at.format, .kind = CellKind::Number, .number = reader.f64()});
}

void SheetReader::readRk(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    addCell(at.row, {.column = at.column, .format = at.format, .kind = CellKind::Number, .number = decodeRk(reader.u32())});
}

void SheetReader::readMulRk(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);  // the first cell's format is read with it
    const size_t count = reader.remaining() / 6;  // each cell's format and value, plus the last column
    for (size_t i = 0; i < count; ++i) {
        const uint16_t format = i == 0 ? at.format : checkedFormat(reader.u16());
        const uint16_t column = checkedColumn(reader, at.column + i);
        addCell(at.row, {.column = column, .format = format, .kind = CellKind::Number, .number = decodeRk(reader.u32())});
    }
}

void SheetReader::readMulBlank(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    const size_t count = reader.remaining() / 2;  // the formats, less the last column, plus the first
    for (size_t i = 0; i < count; ++i) {
        const uint16_t format = i == 0 ? at.format : checkedFormat(reader.u16());
        addCell(at.row, {.column = checkedColumn(reader, at.column + i), .format = format});
    }
}

void SheetReader::readBlank(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    addCell(at.row, {.column = at.column, .format = at.format});
}

void SheetReader::readLabelSst(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    const uint32_t index = reader.u32();
    if (index >= context_.sharedStringCount)
        reader.fail("a cell names a shared text that does not exist");
    addCell(at.row, {.column = at.column, .format = at.format, .kind = CellKind::Text, .text = index});
}

void SheetReader::readLabel(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    strings_.push_back({detail::readString(reader), {}});
    addCell(at.row, {.column = at.column, .format = at.format, .kind = CellKind::Text,
                     .text = static_cast<uint32_t>(strings_.size() - 1)});
}

void SheetReader::readRString(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    RichText text{detail::readString(reader), {}};
    const uint16_t runCount = reader.remaining() >= 2 ? reader.u16() : 0;
    if (static_cast<size_t>(runCount) * 4 > reader.remaining())
        reader.fail("a text claims more format runs than the record holds");
    for (uint16_t i = 0; i < runCount; ++i) {
        FormatRun run;
        run.firstChar = reader.u16();
        run.fontIndex = fontIndexFromFile(reader.u16(), context_.fontCount);
        text.runs.push_back(run);
    }
    keepUsableRuns(text);
    strings_.push_back(std::move(text));
    addCell(at.row, {.column = at.column, .format = at.format, .kind = CellKind::Text,
                     .text = static_cast<uint32_t>(strings_.size() - 1)});
}

void SheetReader::readBoolErr(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    const uint8_t value = reader.u8();
    const bool isError = reader.u8() != 0;
    addCell(at.row, {.column = at.column, .format = at.format,
                     .kind = isError ? CellKind::Error : CellKind::Boolean, .number = static_cast<double>(value)});
}

void SheetReader::readFormula(RecordReader& reader)
{
    const CellHeader at = readCellHeader(reader);
    const uint32_t low = reader.u32(), high = reader.u32();
    // A result that is not a number is marked by 0xFFFF in its last two bytes; its first byte
    // then says what it is, its third holds a truth value or an error code.
    const bool isNumber = high >> 16 != 0xFFFF;
    const uint8_t resultKind = low & 0xFF, resultValue = low >> 16 & 0xFF;
    Cell cell{.column = at.column, .format = at.format};
    if (isNumber) {
        cell.kind = CellKind::Number;
        cell.number = std::bit_cast<double>(uint64_t{high} << 32 | low);
    } else {
        switch (resultKind) {
        case 0:  // a text, in the STRING record that follows
        case 3:  // an empty text
            strings_.push_back({});
            cell.kind = CellKind::Text;
            cell.text = static_cast<uint32_t>(strings_.size() - 1);
            break;
        case 1:
            cell.kind = CellKind::Boolean;
            cell.number = resultValue ? 1 : 0;
            break;
        case 2:
            cell.kind = CellKind::Error;
            cell.number = resultValue;
            break;
        default:
            break;
        }
    }
    addCell(at.row, cell);
    if (cell.kind == CellKind::Text && resultKind == 0)
        pendingFormulaText_ = cell.text;
}

void SheetReader::readString(RecordReader& reader)
{
    if (!pendingFormulaText_)
        return;  // a STRING record with no formula before it: nothing to attach it to
    strings_[*pendingFormulaText_].utf8 = detail::readString(reader);
    pendingFormulaText_.reset();
}

void SheetReader::readRow(RecordReader& reader)
{
    const uint16_t index = reader.u16();
    reader.skip(4);  // first and last column
    const uint16_t heightField = reader.u16();
    const uint16_t height = heightField & 0x7FFF;
    reader.skip(4);
    const uint32_t flags = reader.u32();
    Row& row = rowAt(index);
    // Some writers store no height at all and flag the row as of default height (bit 15); the
    // spreadsheet program then gives it the sheet's default height, not none.
    const bool defaultHeight = (heightField & 0x8000) != 0 && height == 0;
    row.heightTwips = defaultHeight ? sheet_.defaultRowHeightTwips : height;
    row.hidden = (flags & 0x20) != 0;
    row.customHeight = (flags & 0x40) != 0;
    if (flags & 0x80)
        row.format = checkedFormat(static_cast<uint16_t>(flags >> 16 & 0x0FFF));
}

void SheetReader::readDefaultRowHeight(RecordReader& reader)
{
    const uint16_t flags = reader.u16();
    const uint16_t height = reader.u16();
    sheet_.defaultRowsHidden = (flags & 0x02) != 0;
    if (height > 0)
        sheet_.defaultRowHeightTwips = height;
}

void SheetReader::readColInfo(RecordReader& reader)
{
    ColumnInfo info;
    info.firstColumn = reader.u16();
    // Files often close the last range at column 256, one past the last column.
    info.lastColumn = std::min(reader.u16(), kLastColumn);
    info.width = reader.u16();
    info.format = checkedFormat(reader.u16());
    info.hidden = (reader.u16() & 0x0001) != 0;
    if (info.firstColumn <= info.lastColumn)
        sheet_.columns.push_back(info);
}

void SheetReader::readMergedCells(RecordReader& reader)
{
    const uint16_t count = reader.u16();
    if (static_cast<size_t>(count) * 8 > reader.remaining())
        reader.fail("the list of merged ranges is longer than the record");
    for (uint16_t i = 0; i < count; ++i) {
        CellRange range;
        range.firstRow = reader.u16();
        range.lastRow = reader.u16();
        range.firstColumn = reader.u16();
        range.lastColumn = std::min(reader.u16(), kLastColumn);
        if (range.firstRow <= range.lastRow && range.firstColumn <= range.lastColumn)
            sheet_.mergedRanges.push_back(range);
    }
}

void keepOrderedAndDistinct(std::vector<Cell>& cells)
{
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.column < b.column; });
    // When a cell is written twice, the later record is the one the spreadsheet program shows.
    auto keepLast = [](const Cell& a, const Cell& b) { return a.column == b.column; };
    std::reverse(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end(), keepLast), cells.end());
    std::reverse(cells.begin(), cells.end());
}

void keepColumnsApart(std::vector<ColumnInfo>& columns)
{
    std::stable_sort(columns.begin(), columns.end(),
                     [](const ColumnInfo& a, const ColumnInfo& b) { return a.firstColumn < b.firstColumn; });
    std::vector<ColumnInfo> apart;
    for (ColumnInfo info : columns) {
        if (!apart.empty() && info.firstColumn <= apart.back().lastColumn) {
            if (info.lastColumn <= apart.back().lastColumn)
                continue;
            info.firstColumn = static_cast<uint16_t>(apart.back().lastColumn + 1);
        }
        apart.push_back(info);
    }
    columns = std::move(apart);
}

void SheetReader::finish()
{
    if (cellsOutOfOrder_) {
        std::stable_sort(sheet_.rows.begin(), sheet_.rows.end(),
                         [](const Row& a, const Row& b) { return a.index < b.index; });
        for (Row& row : sheet_.rows)
            keepOrderedAndDistinct(row.cells);
    }
    keepColumnsApart(sheet_.columns);
    sheet_.pageSetup.fitToPages = fitToPage_;
    // Comments printed as displayed are those shown on the sheet, where they show.
    const bool commentsInPlace = sheet_.pageSetup.comments == CommentPrinting::InPlace;
    sheet_.drawings = drawings_.take(commentsInPlace ? comments_.shownObjects() : std::vector<uint16_t>{});
    sheet_.comments = comments_.take();
    if (sheet_.kind == SheetKind::Chart)
        if (auto chart = chart_.take())
            sheet_.charts.push_back(std::move(*chart));
}

}  // namespace

size_t readSheet(Bytes stream, size_t offset, const SheetContext& context, Sheet& sheet,
                 std::vector<RichText>& strings)
{
    return SheetReader(context, sheet, strings).read(stream, offset);
}

}  // namespace kx::workbook::detail
