#pragma once
#include <cstddef>
#include <vector>

namespace kx::bench {

// A workbook of one sheet, `rows` by `columns`: numbers, RK numbers and texts side by side.
std::vector<std::byte> generatedWorkbook(unsigned rows, unsigned columns);

}  // namespace kx::bench
