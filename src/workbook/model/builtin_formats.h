#pragma once
#include <cstdint>
#include <string>

namespace kx::workbook {

// The format code of a built-in number-format id (en-US); "General" for ids without one.
const std::string& builtinNumberFormat(uint16_t id);

}  // namespace kx::workbook
