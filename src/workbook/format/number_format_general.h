#pragma once
#include <string>

namespace kx::workbook {

// A finite value as the General format shows it in `maxChars` characters (the sign not counted).
std::string formatGeneral(double value, int maxChars);

}  // namespace kx::workbook
