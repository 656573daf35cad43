#include "xls_builder.h"

#include <gsf/gsf.h>

#include <cstring>
#include <stdexcept>

namespace kx::testing {

Body& Body::u8(uint8_t value)
{
    data_.push_back(value);
    return *this;
}

Body& Body::u16(uint16_t value)
{
    return u8(static_cast<uint8_t>(value)).u8(static_cast<uint8_t>(value >> 8));
}

Body& Body::u32(uint32_t value)
{
    return u16(static_cast<uint16_t>(value)).u16(static_cast<uint16_t>(value >> 16));
}

Body& Body::f64(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
}

Body& Body::bytes(const std::vector<uint8_t>& values)
{
    data_.insert(data_.end(), values.begin(), values.end());
    return *this;
}

Body& Body::characters(const std::u16string& text, bool twoBytesWide)
{
    u8(twoBytesWide ? 1 : 0);
    for (char16_t c : text)
        twoBytesWide ? u16(c) : u8(static_cast<uint8_t>(c));
    return *this;
}

Body& Body::string16(const std::u16string& text, bool twoBytesWide)
{
    return u16(static_cast<uint16_t>(text.size())).characters(text, twoBytesWide);
}

Body& Body::string8(const std::u16string& text)
{
    return u8(static_cast<uint8_t>(text.size())).characters(text);
}

RawRecord record(uint16_t type, const Body& body)
{
    return {type, body.data()};
}

std::vector<std::byte> recordStream(const std::vector<RawRecord>& records)
{
    std::vector<std::byte> stream;
    for (const RawRecord& r : records) {
        const uint16_t header[2] = {r.type, static_cast<uint16_t>(r.body.size())};
        for (uint16_t value : header) {
            stream.push_back(static_cast<std::byte>(value & 0xFF));
            stream.push_back(static_cast<std::byte>(value >> 8));
        }
        for (uint8_t b : r.body)
            stream.push_back(static_cast<std::byte>(b));
    }
    return stream;
}

std::vector<std::byte> compoundFile(const std::vector<std::byte>& stream, const char* streamName)
{
    gsf_init();
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* outfile = gsf_outfile_msole_new(memory);
    GsfOutput* child = gsf_outfile_new_child(outfile, streamName, FALSE);
    gsf_output_write(child, stream.size(), reinterpret_cast<const guint8*>(stream.data()));
    gsf_output_close(child);
    g_object_unref(child);
    gsf_output_close(GSF_OUTPUT(outfile));
    g_object_unref(outfile);
    const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
    const auto size = static_cast<size_t>(gsf_output_size(memory));
    std::vector<std::byte> file(size);
    std::memcpy(file.data(), data, size);
    g_object_unref(memory);
    return file;
}

WorkbookBuilder& WorkbookBuilder::global(uint16_t type, const Body& body)
{
    globals_.push_back(record(type, body));
    return *this;
}

WorkbookBuilder& WorkbookBuilder::sheet(SheetContents contents)
{
    sheets_.push_back(std::move(contents));
    return *this;
}

namespace {

RawRecord bof(uint16_t kind)
{
    return record(0x0809, Body().u16(0x0600).u16(kind).u16(0x0DBB).u16(0x07CC).u32(0).u32(0x0006));
}

RawRecord eof()
{
    return {0x000A, {}};
}

RawRecord xf(bool style)
{
    // Font 0, General, a style (or a cell format of the Normal style) with all attributes its own.
    return record(0x00E0, Body().u16(0).u16(0).u16(style ? 0xFFF5 : 0x0001).u8(0x20).u8(0).u8(0)
                              .u8(style ? 0x00 : 0xF8).u32(0).u32(0).u16(0x20C0));
}

}  // namespace

std::vector<std::byte> WorkbookBuilder::stream() const
{
    std::vector<RawRecord> head{bof(0x0005)};
    head.push_back(record(0x0031, Body().u16(200).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(0).u8(0)
                                      .string8(u"Arial")));
    for (int i = 0; i < 15; ++i)
        head.push_back(xf(true));
    head.push_back(xf(false));
    head.insert(head.end(), globals_.begin(), globals_.end());

    auto boundSheets = [&](const std::vector<uint32_t>& offsets) {
        std::vector<RawRecord> records;
        for (size_t i = 0; i < sheets_.size(); ++i) {
            std::u16string name(sheets_[i].name.begin(), sheets_[i].name.end());
            records.push_back(record(0x0085, Body().u32(offsets[i]).u8(sheets_[i].visibility).u8(sheets_[i].kind)
                                                 .string8(name)));
        }
        return records;
    };
    auto globalsWith = [&](const std::vector<uint32_t>& offsets) {
        std::vector<RawRecord> records = head;
        for (RawRecord& r : boundSheets(offsets))
            records.push_back(std::move(r));
        records.push_back(eof());
        return recordStream(records);
    };
    std::vector<uint32_t> offsets(sheets_.size(), 0);
    std::vector<std::byte> result = globalsWith(offsets);
    std::vector<std::vector<std::byte>> sheetStreams;
    uint32_t position = static_cast<uint32_t>(result.size());
    for (size_t i = 0; i < sheets_.size(); ++i) {
        if (sheets_[i].sameOffsetAs) {
            offsets[i] = offsets.at(*sheets_[i].sameOffsetAs);
            continue;
        }
        std::vector<RawRecord> records{bof(sheets_[i].kind == 2 ? 0x0020 : 0x0010)};
        records.insert(records.end(), sheets_[i].records.begin(), sheets_[i].records.end());
        records.push_back(eof());
        sheetStreams.push_back(recordStream(records));
        offsets[i] = position;
        position += static_cast<uint32_t>(sheetStreams.back().size());
    }
    result = globalsWith(offsets);
    for (const auto& sheetStream : sheetStreams)
        result.insert(result.end(), sheetStream.begin(), sheetStream.end());
    return result;
}

RawRecord numberCell(uint16_t row, uint16_t column, double value, uint16_t format)
{
    return record(0x0203, Body().u16(row).u16(column).u16(format).f64(value));
}

RawRecord rkCell(uint16_t row, uint16_t column, uint32_t rk, uint16_t format)
{
    return record(0x027E, Body().u16(row).u16(column).u16(format).u32(rk));
}

RawRecord labelCell(uint16_t row, uint16_t column, const std::u16string& text, uint16_t format)
{
    return record(0x0204, Body().u16(row).u16(column).u16(format).string16(text));
}

}  // namespace kx::testing
