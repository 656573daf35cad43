#include "workbook/xls/biff5_upgrade.h"

#include <optional>
#include <string>
#include <unordered_map>

#include "workbook/xls/biff5_records.h"
#include "workbook/xls/code_page.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/record_writer.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kBiff5 = 0x0500;
constexpr size_t kBiff8BofSize = 16;
constexpr uint16_t kGlobalsSubstream = 0x0005;
constexpr uint16_t kNoteContinued = 0xFFFF;  // the row of a NOTE that goes on with the text before
constexpr uint16_t kThisWorkbookMarker = 0x0401;
constexpr uint16_t kCommentObject = 0x0019;
constexpr uint16_t kSeriesText = 0x100D;
constexpr uint16_t kChartLink = 0x1051;

// Records the newer reader would take for something else: the older objects, drawings and
// sheet references have layouts of their own.
bool isLeftOut(uint16_t type)
{
    switch (type) {
    case record_type::Obj:
    case record_type::Txo:
    case record_type::MsoDrawing:
    case record_type::MsoDrawingGroup:
    case record_type::ExternSheet:
    case record_type::SupBook:
    case record_type::Sst:
        return true;
    default:
        return false;
    }
}

struct PendingNote {
    uint16_t row = 0;
    uint16_t column = 0;
    std::string text;  // as stored, in the code page
};

class Biff5Upgrade {
public:
    void take(const Record& record);
    std::vector<std::byte> finish();

private:
    void takeBof(const Record& record);
    void takeEof();
    void takeRecord(const Record& record);
    void write(uint16_t type, const std::vector<std::byte>& body) { appendRecord(out_, type, body); }
    void takeNote(RecordReader& reader);
    void flushNote();
    void writeSheetReferences();

    std::vector<std::byte> out_;
    uint16_t codePage_ = 1252;
    int depth_ = 0;  // of nested substreams: 1 inside the globals or a sheet
    bool inGlobals_ = false;
    uint16_t sheetCount_ = 0;
    std::unordered_map<size_t, size_t> movedSubstreams_;         // BOF offsets, old to new
    std::vector<std::pair<size_t, uint32_t>> sheetOffsetFields_;  // where each sheet's offset goes
    std::optional<PendingNote> note_;
    uint16_t nextObject_ = 1;
};

void Biff5Upgrade::take(const Record& record)
{
    if (record.type == record_type::Bof)
        return takeBof(record);
    if (record.type == record_type::Eof)
        return takeEof();
    if (depth_ != 1 || isLeftOut(record.type))
        return;
    if (record.type != record_type::Note)
        flushNote();
    takeRecord(record);
}

// A substream inside a sheet is an embedded chart, which the older form places by an object of
// its own: it is left out whole.
void Biff5Upgrade::takeBof(const Record& record)
{
    if (depth_++ > 0)
        return;
    movedSubstreams_[record.offset] = out_.size();
    RecordReader reader(record);
    const std::vector<std::byte> bof = biff5::upgradeBof(reader);
    const uint16_t kind = littleEndian16(&bof[2]);
    inGlobals_ = kind == kGlobalsSubstream;
    nextObject_ = 1;
    write(record_type::Bof, bof);
}

void Biff5Upgrade::takeEof()
{
    if (depth_ == 0 || --depth_ > 0)
        return;
    flushNote();
    if (inGlobals_)
        writeSheetReferences();
    write(record_type::Eof, {});
}

void Biff5Upgrade::takeRecord(const Record& record)
{
    RecordReader reader(record);
    switch (record.type) {
    case record_type::CodePage:
        codePage_ = reader.u16();
        return appendRecordAsRead(out_, record);
    case record_type::Font: return write(record.type, biff5::upgradeFont(reader, codePage_));
    case record_type::Format: return write(record.type, biff5::upgradeFormat(reader, codePage_));
    case record_type::Xf: return write(record.type, biff5::upgradeXf(reader));
    case record_type::BoundSheet:
        sheetOffsetFields_.emplace_back(out_.size() + 4, RecordReader(record).u32());
        ++sheetCount_;
        return write(record.type, biff5::upgradeBoundSheet(reader, codePage_));
    case record_type::Name: return write(record.type, biff5::upgradeName(reader, codePage_));
    case record_type::Label: return write(record.type, biff5::upgradeLabel(reader, codePage_));
    case record_type::RString: return write(record.type, biff5::upgradeRString(reader, codePage_));
    case record_type::String: return write(record.type, biff5::upgradeString(reader, codePage_));
    case record_type::Header:
    case record_type::Footer: return write(record.type, biff5::upgradeHeaderFooter(reader, codePage_));
    case record_type::HorizontalPageBreaks: return write(record.type, biff5::upgradePageBreaks(reader, 0x00FF));
    case record_type::VerticalPageBreaks: return write(record.type, biff5::upgradePageBreaks(reader, 0xFFFF));
    case record_type::Note: return takeNote(reader);
    case kSeriesText: return write(record.type, biff5::upgradeSeriesText(reader, codePage_));
    case kChartLink: return write(record.type, biff5::upgradeChartLink(reader));
    default: return appendRecordAsRead(out_, record);
    }
}

// A long comment goes on in NOTE records of its own, marked by an impossible row.
void Biff5Upgrade::takeNote(RecordReader& reader)
{
    const uint16_t row = reader.u16();
    const uint16_t column = reader.u16();
    const uint16_t length = reader.u16();
    if (row != kNoteContinued) {
        flushNote();
        note_ = PendingNote{row, column, {}};
    }
    if (!note_)
        return;
    for (size_t i = 0; i < length && !reader.atEnd(); ++i)
        note_->text.push_back(static_cast<char>(reader.u8()));
}

// The comment becomes what holds one now: an object, its text record with the text and two
// format runs in CONTINUE records, and a NOTE naming the object.
void Biff5Upgrade::flushNote()
{
    if (!note_)
        return;
    const uint16_t object = nextObject_++;
    write(record_type::Obj, RecordWriter().u16(0x0015).u16(0x0012).u16(kCommentObject).u16(object).u16(0)
                                .bytes(std::vector<std::byte>(12)).u32(0).body());
    const std::u16string text = decodeCodePage(note_->text, codePage_).substr(0, 0xFFFF);
    const auto length = static_cast<uint16_t>(text.size());
    std::vector<std::byte> txo =
        RecordWriter().u16(0x0212).u16(0).bytes(std::vector<std::byte>(6)).u16(length).u16(16).u32(0).body();
    write(record_type::Txo, txo);
    for (size_t start = 0; start < text.size(); start += 4096)
        write(record_type::Continue, RecordWriter().characters(std::u16string_view(text).substr(start, 4096)).body());
    write(record_type::Continue, RecordWriter().u16(0).u16(0).u32(0).u16(length).u16(0).u32(0).body());
    write(record_type::Note, RecordWriter().u16(note_->row).u16(note_->column).u16(0).u16(object).u16(0).u8(0).body());
    note_.reset();
}

// One table entry per sheet of this workbook, in sheet order, which the upgraded names name.
void Biff5Upgrade::writeSheetReferences()
{
    write(record_type::SupBook, RecordWriter().u16(sheetCount_).u16(kThisWorkbookMarker).body());
    RecordWriter table;
    table.u16(sheetCount_);
    for (uint16_t sheet = 0; sheet < sheetCount_; ++sheet)
        table.u16(0).u16(sheet).u16(sheet);
    write(record_type::ExternSheet, table.body());
}

std::vector<std::byte> Biff5Upgrade::finish()
{
    // A sheet whose offset leads to no substream gets one past the stream, which the sheet
    // reader reports as a sheet that is not where the workbook says.
    for (const auto& [field, oldOffset] : sheetOffsetFields_) {
        const auto moved = movedSubstreams_.find(oldOffset);
        const uint32_t offset = moved != movedSubstreams_.end() ? static_cast<uint32_t>(moved->second) : 0xFFFFFFFF;
        for (size_t i = 0; i < 4; ++i)
            out_[field + i] = static_cast<std::byte>(offset >> (8 * i));
    }
    return std::move(out_);
}

}  // namespace

bool isBiff5Stream(Bytes stream)
{
    if (stream.size() < 6)
        return false;
    const uint16_t type = littleEndian16(&stream[0]), length = littleEndian16(&stream[2]),
                   version = littleEndian16(&stream[4]);
    return type == record_type::Bof && version != kBiff8 && (version == kBiff5 || length < kBiff8BofSize);
}

std::vector<std::byte> upgradeBiff5Stream(Bytes stream)
{
    Biff5Upgrade upgrade;
    RecordStream records(stream);
    Record record;
    while (records.next(record))
        upgrade.take(record);
    return upgrade.finish();
}

}  // namespace kx::workbook::detail
