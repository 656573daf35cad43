#pragma once
// The metafile pictures of the picture store: a header of their own in front of the
// metafile, which is mostly kept deflated.
#include <cstdint>
#include <vector>

#include "workbook/xls/record_stream.h"

namespace kx::workbook::detail {

// Metafiles larger than this are refused rather than unpacked.
constexpr uint32_t kMaxMetafileSize = 32u << 20;

// The metafile behind its header (the part of a store entry after the identifiers), inflated
// when the header says so. Empty when the header or the packed data disagree with their sizes,
// the data does not inflate to the size the header gives, or that size is over the limit.
std::vector<uint8_t> unpackMetafile(Bytes blip);

}  // namespace kx::workbook::detail
