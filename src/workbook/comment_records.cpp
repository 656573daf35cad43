#include "workbook/comment_records.h"

#include "workbook/record_types.h"
#include "workbook/text_decoding.h"

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kCommonObjectData = 0x0015;
constexpr uint16_t kCommentObject = 0x0019;
constexpr size_t kTxoTextLengthOffset = 10;
constexpr uint16_t kLastColumn = 255;

}  // namespace

bool CommentCollector::read(const Record& record)
{
    RecordReader reader(record);
    switch (record.type) {
    case record_type::Obj: readObj(reader); break;
    case record_type::Txo: readTxo(reader); break;
    case record_type::Note: readNote(reader); break;
    default: return false;
    }
    return true;
}

void CommentCollector::readObj(RecordReader& reader)
{
    lastCommentObject_.reset();
    // The first sub-record of every object names its kind and number.
    if (reader.remaining() < 8 || reader.u16() != kCommonObjectData)
        return;
    reader.skip(2);
    const uint16_t kind = reader.u16();
    const uint16_t id = reader.u16();
    if (kind == kCommentObject)
        lastCommentObject_ = id;
}

// The text follows in the CONTINUE pieces, each starting with its option byte, and then
// the format runs, which the model does not keep for comments.
void CommentCollector::readTxo(RecordReader& reader)
{
    if (!lastCommentObject_)
        return;
    reader.skip(kTxoTextLengthOffset);
    const uint16_t length = reader.u16();
    reader.skipToEndOfPiece();
    std::u16string text;
    if (length > 0)
        reader.readCharacters(length, false, text);
    texts_[*lastCommentObject_] = utf16ToUtf8(text);
    lastCommentObject_.reset();
}

void CommentCollector::readNote(RecordReader& reader)
{
    Comment comment;
    comment.cell.row = reader.u16();
    comment.cell.column = reader.u16();
    comment.shown = (reader.u16() & 0x0002) != 0;
    const uint16_t object = reader.u16();
    comment.author = readString(reader);
    if (comment.cell.column <= kLastColumn)  // a note beyond the last column has no cell to sit on
        notes_.emplace_back(std::move(comment), object);
}

std::vector<Comment> CommentCollector::take()
{
    std::vector<Comment> comments;
    comments.reserve(notes_.size());
    for (auto& [comment, object] : notes_) {
        auto text = texts_.find(object);
        if (text != texts_.end())
            comment.text = text->second;
        comments.push_back(std::move(comment));
    }
    return comments;
}

}  // namespace kx::workbook::detail
