#pragma once
#include <cstddef>
#include <vector>

#include "workbook/model/error.h"

namespace kx::testing {

// The error code loading `file` fails with; a default ErrorCode{} when it loads.
workbook::ErrorCode failureOf(const std::vector<std::byte>& file);

}  // namespace kx::testing
