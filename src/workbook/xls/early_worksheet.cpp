#include "workbook/xls/early_worksheet.h"

#include "workbook/xls/early_records.h"
#include "workbook/xls/read_failure.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/record_writer.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kBiff2Bof = 0x0009;
constexpr uint16_t kBiff3Bof = 0x0209;
constexpr uint16_t kBiff4Bof = 0x0409;
constexpr uint16_t kWorksheet = 0x0010;
constexpr uint16_t kGlobals = 0x0005;
constexpr uint16_t kBiff5 = 0x0500;
constexpr char kSheetName[] = "Sheet1";  // the reader names the sheet after the file

std::vector<std::byte> bof(uint16_t kind)
{
    return RecordWriter().u16(kBiff5).u16(kind).u16(0).u16(0).body();
}

// Records the older layouts lay out in ways of their own and printing does not need: names and
// sheet references without sheets, the first window, dimensions, extended format indexes, styles.
bool isLeftOut(uint16_t type)
{
    switch (type) {
    case 0x0000:  // DIMENSIONS
    case 0x0200:
    case 0x0017:  // EXTERNSHEET
    case 0x0018:  // NAME of Excel 2.1
    case 0x003E:  // WINDOW2
    case 0x0043:  // XF of Excel 2.1: its cells carry their own format bytes
    case 0x0044:  // IXFE
    case 0x0293:  // STYLE
        return true;
    default:
        return false;
    }
}

class EarlyWorksheet {
public:
    explicit EarlyWorksheet(uint16_t bofType) : version_(bofType == kBiff2Bof ? 2 : bofType == kBiff3Bof ? 3 : 4) {}
    void take(const Record& record);
    std::vector<std::byte> workbook() const;

private:
    int version_;
    std::vector<early::StoredFont> fonts_;
    std::vector<std::string> formats_;
    std::vector<early::Body> cellFormats_;
    early::CellAttributes attributes_;
    std::vector<std::byte> globals_;  // code page, date system, palette, names
    std::vector<std::byte> sheet_;
};

void EarlyWorksheet::take(const Record& record)
{
    RecordReader reader(record);
    switch (record.type) {
    case 0x0031: fonts_.push_back(early::readFont(reader, false)); return;
    case 0x0231: fonts_.push_back(early::readFont(reader, true)); return;
    case 0x0045:  // FONTCOLOR, after the font it colours
        if (!fonts_.empty())
            fonts_.back().color = reader.u16();
        return;
    case 0x001E: formats_.push_back(early::readFormat(reader, false)); return;
    case 0x041E: formats_.push_back(early::readFormat(reader, true)); return;
    case 0x0243: cellFormats_.push_back(early::upgradeXf3(reader)); return;
    case 0x0443: cellFormats_.push_back(early::upgradeXf4(reader)); return;
    case 0x0206:
    case 0x0406: return appendRecord(sheet_, record_type::Formula, early::upgradeFormula(reader, 2));
    case 0x0218: return appendRecord(globals_, record_type::Name, early::upgradeName(reader));
    case record_type::FilePass:
        throw ReadFailure(ErrorCode::PasswordProtected, "it is protected by a password");
    case record_type::CodePage:
    case record_type::DateMode:
    case record_type::Palette: return appendRecordAsRead(globals_, record);
    default: break;
    }
    if (isLeftOut(record.type))
        return;
    uint16_t type = 0;
    early::Body body;
    if (version_ == 2 && early::upgradeBiff2Record(record, attributes_, type, body))
        return appendRecord(sheet_, type, body);
    appendRecordAsRead(sheet_, record);
}

std::vector<std::byte> EarlyWorksheet::workbook() const
{
    std::vector<std::byte> stream;
    appendRecord(stream, record_type::Bof, bof(kGlobals));
    stream.insert(stream.end(), globals_.begin(), globals_.end());
    for (const early::StoredFont& font : fonts_.empty() ? std::vector<early::StoredFont>{{.name = "Arial"}} : fonts_)
        appendRecord(stream, record_type::Font, early::fontRecord(font));
    const std::vector<std::string> formats = formats_.empty() ? std::vector<std::string>{"General"} : formats_;
    for (size_t i = 0; i < formats.size(); ++i)
        appendRecord(stream, record_type::Format, early::formatRecord(static_cast<uint16_t>(i), formats[i]));
    for (const early::Body& format : version_ == 2 ? attributes_.cellFormats() : cellFormats_)
        appendRecord(stream, record_type::Xf, format);
    RecordWriter sheetEntry;
    constexpr size_t kEntrySize = 4 + 4 + 1 + 1 + 1 + sizeof kSheetName - 1;
    constexpr size_t kEofSize = 4;
    sheetEntry.u32(static_cast<uint32_t>(stream.size() + kEntrySize + kEofSize)).u8(0).u8(0).u8(sizeof kSheetName - 1);
    for (char c : std::string_view(kSheetName))
        sheetEntry.u8(static_cast<uint8_t>(c));
    appendRecord(stream, record_type::BoundSheet, sheetEntry.body());
    appendRecord(stream, record_type::Eof, {});
    appendRecord(stream, record_type::Bof, bof(kWorksheet));
    stream.insert(stream.end(), sheet_.begin(), sheet_.end());
    appendRecord(stream, record_type::Eof, {});
    return stream;
}

}  // namespace

bool isEarlyWorksheet(std::span<const std::byte> file)
{
    if (file.size() < 8)
        return false;
    const uint16_t type = littleEndian16(&file[0]);
    return (type == kBiff2Bof || type == kBiff3Bof || type == kBiff4Bof) && littleEndian16(&file[2]) >= 4 &&
           littleEndian16(&file[6]) == kWorksheet;
}

std::vector<std::byte> earlyWorksheetAsBiff5(std::span<const std::byte> file)
{
    RecordStream records(file);
    Record record;
    records.next(record);
    EarlyWorksheet worksheet(record.type);
    while (records.next(record) && record.type != record_type::Eof)
        worksheet.take(record);
    return worksheet.workbook();
}

}  // namespace kx::workbook::detail
