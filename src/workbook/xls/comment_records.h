#pragma once
// Cell comments: a NOTE record names the cell, the author and a drawing object; the text sits
// in the TXO record that follows that object's OBJ record.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

class CommentCollector {
public:
    // Reads `record` when it is one of the comment records; false for any other record.
    bool read(const Record& record);
    // The drawing objects of the comments shown on the sheet, not only when pointed at.
    std::vector<uint16_t> shownObjects() const;
    // The comments found, in the order of their NOTE records.
    std::vector<Comment> take();

private:
    void readObj(RecordReader& reader);
    void readTxo(RecordReader& reader);
    void readNote(RecordReader& reader);

    std::optional<uint16_t> lastCommentObject_;
    std::unordered_map<uint16_t, std::string> texts_;
    std::vector<std::pair<Comment, uint16_t>> notes_;  // with the object holding the text
};

}  // namespace kx::workbook::detail
