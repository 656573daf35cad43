#pragma once
// The kinds of record that the readers pass over on purpose, each with the reason: what they
// hold does not change the printed page, or another reader takes them. A record of any other
// kind is one the readers do not know, and the load says so in a warning.
#include <cstdint>
#include <optional>
#include <string_view>

#include "workbook/model/load_warnings.h"
#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// Why records of `type` are passed over; nothing for a kind the readers do not know.
std::optional<std::string_view> whyPassedOver(uint16_t type);

// Passes `record` over, with a warning when it is of a kind the readers do not know.
void passOver(const Record& record, LoadWarnings& warnings);

}  // namespace kx::workbook::detail
