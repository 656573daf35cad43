#pragma once
// The records of conditional formats: a header naming the ranges, then one record per rule; the
// later program versions' header and rules of their own (colour scales and data bars among
// them), and the extensions that tie such a rule to an older header.
#include <cstdint>
#include <map>
#include <optional>

#include "workbook/model/model.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

class ConditionalFormatReader {
public:
    ConditionalFormatReader(Sheet& sheet, LoadWarnings* warnings) : sheet_(sheet), warnings_(warnings) {}
    // False when the record is of none of the kinds above.
    bool read(const Record& record);

private:
    void readHeader(RecordReader& reader, bool newer);
    // Adds the rule to the conditional format of the header before it.
    void readRule(RecordReader& reader);
    void readNewerRule(RecordReader& reader);
    void readExtension(RecordReader& reader);

    Sheet& sheet_;
    LoadWarnings* warnings_;
    std::map<uint16_t, size_t> formatsById_;  // the header's own number, to the sheet's format
    std::optional<size_t> newerRulesGoTo_;    // the format a newer rule record adds to
};

}  // namespace kx::workbook::detail
