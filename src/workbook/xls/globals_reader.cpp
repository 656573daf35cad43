#include "workbook/xls/globals_reader.h"

#include <algorithm>
#include <unordered_map>

#include "workbook/model/palette.h"
#include "workbook/xls/blip_store.h"
#include "workbook/xls/cell_formats.h"
#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/text_decoding.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kThisWorkbookMarker = 0x0401;
constexpr uint16_t kBuiltinNameFlag = 0x0020;

class GlobalsReader {
public:
    Globals read(Bytes stream);

private:
    void readRecord(const Record& record);
    void readFont(RecordReader& reader);
    void readFormat(RecordReader& reader);
    void readPalette(RecordReader& reader);
    void readBoundSheet(RecordReader& reader);
    void readSst(RecordReader& reader);
    void readSupBook(RecordReader& reader);
    void readExternSheet(RecordReader& reader);
    void readName(RecordReader& reader);

    Globals globals_;
    std::vector<std::byte> drawingGroup_;  // the MSODRAWINGGROUP records joined
    std::vector<CellFormat> storedFormats_;
    std::unordered_map<uint16_t, size_t> numberFormatPositions_;
};

void checkBof(const Record& record)
{
    if (record.type != record_type::Bof)
        throw ReadFailure(ErrorCode::Unsupported,
                          "its workbook stream does not start like an Excel 97-2003 workbook (an older or foreign format)");
    RecordReader reader(record);
    const uint16_t version = reader.u16();
    if (version != kBiff8)
        throw ReadFailure(ErrorCode::Unsupported, "its workbook stream has an unknown format version");
}

Globals GlobalsReader::read(Bytes stream)
{
    RecordStream records(stream);
    Record record;
    if (!records.next(record))
        throw ReadFailure(ErrorCode::NotAWorkbook, "its workbook stream is empty");
    checkBof(record);
    globals_.workbook.palette = defaultPalette();
    while (records.next(record)) {
        if (record.type == record_type::Eof) {
            globals_.end = records.position();
            globals_.workbook.formats = resolveCellFormats(std::move(storedFormats_), globals_.workbook.fonts.size());
            globals_.workbook.pictures = readPictureStore(drawingGroup_);
            return std::move(globals_);
        }
        readRecord(record);
    }
    failCorrupt(0, stream.size(), "the workbook ends before the end of its shared part");
}

void GlobalsReader::readRecord(const Record& record)
{
    RecordReader reader(record);
    Workbook& book = globals_.workbook;
    switch (record.type) {
    case record_type::FilePass:
        break;  // the stream was decrypted before it came here
    case record_type::Bof:
        reader.fail("a sheet starts inside the shared part of the workbook");
    case record_type::CodePage:
        book.codePage = reader.u16();
        break;
    case record_type::DateMode:
        book.dateSystem1904 = reader.u16() == 1;
        break;
    case record_type::Font:
        readFont(reader);
        break;
    case record_type::Format:
        readFormat(reader);
        break;
    case record_type::Xf:
        storedFormats_.push_back(readXf(reader));
        break;
    case record_type::Palette:
        readPalette(reader);
        break;
    case record_type::BoundSheet:
        readBoundSheet(reader);
        break;
    case record_type::Sst:
        readSst(reader);
        break;
    case record_type::SupBook:
        readSupBook(reader);
        break;
    case record_type::ExternSheet:
        readExternSheet(reader);
        break;
    case record_type::Name:
        readName(reader);
        break;
    case record_type::MsoDrawingGroup:
        for (const Bytes& piece : record.pieces)
            drawingGroup_.insert(drawingGroup_.end(), piece.begin(), piece.end());
        break;
    default:
        break;  // styles, window settings, protection: nothing the model keeps
    }
}

void GlobalsReader::readFont(RecordReader& reader)
{
    Font font;
    font.heightTwips = reader.u16();
    const uint16_t attributes = reader.u16();
    font.italic = (attributes & 0x0002) != 0;
    font.strikeout = (attributes & 0x0008) != 0;
    font.colorIndex = reader.u16();
    font.bold = reader.u16() >= 600;
    const uint16_t script = reader.u16();
    font.script = script == 1 ? Script::Superscript : script == 2 ? Script::Subscript : Script::Normal;
    switch (reader.u8()) {
    case 0x01: font.underline = Underline::Single; break;
    case 0x02: font.underline = Underline::Double; break;
    case 0x21: font.underline = Underline::SingleAccounting; break;
    case 0x22: font.underline = Underline::DoubleAccounting; break;
    default: font.underline = Underline::None; break;
    }
    reader.skip(3);  // family, character set, reserved
    font.name = readShortString(reader);
    globals_.workbook.fonts.push_back(std::move(font));
}

void GlobalsReader::readFormat(RecordReader& reader)
{
    NumberFormat format;
    format.id = reader.u16();
    format.code = readString(reader);
    auto& formats = globals_.workbook.numberFormats;
    // A later definition of the same id replaces the earlier one.
    const auto [known, added] = numberFormatPositions_.try_emplace(format.id, formats.size());
    if (added)
        formats.push_back(std::move(format));
    else
        formats[known->second] = std::move(format);
}

void GlobalsReader::readPalette(RecordReader& reader)
{
    const uint16_t count = std::min<uint16_t>(reader.u16(), 56);
    auto& palette = globals_.workbook.palette;
    for (uint16_t i = 0; i < count; ++i) {
        palette[i].red = reader.u8();
        palette[i].green = reader.u8();
        palette[i].blue = reader.u8();
        reader.skip(1);
    }
}

void GlobalsReader::readBoundSheet(RecordReader& reader)
{
    SheetEntry sheet;
    sheet.streamOffset = reader.u32();
    const uint8_t state = reader.u8() & 0x03;
    sheet.visibility = state == 1 ? Visibility::Hidden : state == 2 ? Visibility::VeryHidden : Visibility::Visible;
    switch (reader.u8()) {
    case 0x00: sheet.kind = SheetKind::Worksheet; break;
    case 0x01: sheet.kind = SheetKind::Macro; break;
    case 0x02: sheet.kind = SheetKind::Chart; break;
    default: sheet.kind = SheetKind::Other; break;
    }
    sheet.name = readShortString(reader);
    globals_.sheets.push_back(std::move(sheet));
}

void GlobalsReader::readSst(RecordReader& reader)
{
    reader.skip(4);  // total number of references
    const uint32_t uniqueCount = reader.u32();
    auto& strings = globals_.workbook.strings;
    // The count is only a claim: every string takes at least three bytes of the record.
    strings.reserve(std::min<size_t>(uniqueCount, reader.remaining() / 3));
    while (strings.size() < uniqueCount && !reader.atEnd())
        strings.push_back(readRichString(reader));
    const size_t fontCount = globals_.workbook.fonts.size();
    for (RichText& text : strings)
        for (FormatRun& run : text.runs)
            run.fontIndex = fontIndexFromFile(run.fontIndex, fontCount);
}

void GlobalsReader::readSupBook(RecordReader& reader)
{
    reader.skip(2);  // sheet count
    globals_.supportingBookIsThisWorkbook.push_back(reader.u16() == kThisWorkbookMarker);
}

void GlobalsReader::readExternSheet(RecordReader& reader)
{
    const uint16_t count = reader.u16();
    if (static_cast<size_t>(count) * 6 > reader.remaining())
        reader.fail("the list of sheet references is longer than the record");
    auto& entries = globals_.externSheets;
    for (uint16_t i = 0; i < count; ++i) {
        ExternSheetEntry entry;
        entry.supportingBook = reader.u16();
        entry.firstSheet = reader.i16();
        reader.skip(2);  // last sheet
        entries.push_back(entry);
    }
}

void GlobalsReader::readName(RecordReader& reader)
{
    const uint16_t flags = reader.u16();
    reader.skip(1);  // keyboard shortcut
    const uint8_t nameLength = reader.u8();
    const uint16_t formulaSize = reader.u16();
    reader.skip(2);
    const uint16_t sheetNumber = reader.u16();
    reader.skip(4);  // lengths of menu, description, help and status texts
    if (!(flags & kBuiltinNameFlag) || nameLength == 0)
        return;
    std::u16string name;
    const uint8_t options = reader.u8();
    reader.readCharacters(nameLength, (options & 0x01) != 0, name);
    if (formulaSize > reader.remaining())
        reader.fail("the formula of a name is longer than the record");
    BuiltinName builtin;
    builtin.code = static_cast<uint8_t>(name[0]);
    builtin.sheetNumber = sheetNumber;
    builtin.formula.resize(formulaSize);
    for (std::byte& b : builtin.formula)
        b = static_cast<std::byte>(reader.u8());
    globals_.builtinNames.push_back(std::move(builtin));
}

}  // namespace

Globals readGlobals(Bytes stream)
{
    return GlobalsReader().read(stream);
}

}  // namespace kx::workbook::detail
