#pragma once
// The failure raised inside the reader. It carries the reason without the file's name;
// loadWorkbook adds the name when it turns the failure into a WorkbookError.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "workbook/model/error.h"

namespace kx::workbook::detail {

class ReadFailure : public std::runtime_error {
public:
    ReadFailure(ErrorCode code, const std::string& reason) : std::runtime_error(reason), code_(code) {}
    ErrorCode code() const { return code_; }

private:
    ErrorCode code_;
};

// A record that cannot be what it claims to be: the reason names the record and where it sits.
[[noreturn]] void failCorrupt(uint16_t recordType, size_t offset, const std::string& problem);

// A record cut off by the end of its stream. Everything before it is whole, so a reader may keep
// what it read, as the spreadsheet program does with a file cut short.
class CutShortRecord : public ReadFailure {
public:
    CutShortRecord(uint16_t recordType, size_t offset, const std::string& problem);
    uint16_t recordType() const { return recordType_; }
    size_t offset() const { return offset_; }
    const std::string& problem() const { return problem_; }

private:
    uint16_t recordType_;
    size_t offset_;
    std::string problem_;
};

}  // namespace kx::workbook::detail
