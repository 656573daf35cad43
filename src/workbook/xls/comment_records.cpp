#include "workbook/xls/comment_records.h"

#include "workbook/xls/drawing_records.h"
#include "workbook/xls/record_types.h"
#include "workbook/xls/text_decoding.h"

namespace kx::workbook::detail {

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
    const std::optional<ObjectHeader> header = readObjectHeader(reader);
    if (header && header->kind == kCommentObjectKind)
        lastCommentObject_ = header->id;
}

// The format runs after the text are not kept for comments.
void CommentCollector::readTxo(RecordReader& reader)
{
    if (!lastCommentObject_)
        return;
    texts_[*lastCommentObject_] = utf16ToUtf8(readTextObject(reader).text);
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

std::vector<uint16_t> CommentCollector::shownObjects() const
{
    std::vector<uint16_t> objects;
    for (const auto& [comment, object] : notes_)
        if (comment.shown)
            objects.push_back(object);
    return objects;
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
