#pragma once
// One run of the number formatter over a fuzzing input: a first line "<value> <width> <1904
// flag>" and then the format code. Shared by the fuzz target and the regression tests that
// replay what it found.
#include <charconv>
#include <cstddef>
#include <string_view>

#include "workbook/format/number_format.h"

namespace kx::fuzz {

template <typename Number>
Number takeNumber(std::string_view& line, Number fallback)
{
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    Number number = fallback;
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), number);
    if (error != std::errc())
        number = fallback;
    line.remove_prefix(static_cast<size_t>(end - line.data()));
    return number;
}

inline bool isSound(const workbook::FormattedValue& result, std::string_view code)
{
    // Output grows with the code, never beyond a few hundred characters per character of it.
    return (!result.fill || result.fillOffset <= result.text.size()) && result.text.size() <= 400 + 400 * code.size();
}

// False when a result breaks what callers rely on.
inline bool formatsSoundly(std::string_view input)
{
    const size_t lineEnd = input.find('\n');
    std::string_view line = input.substr(0, lineEnd);
    const std::string_view code = lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);
    const double value = takeNumber(line, 0.0);
    const int width = takeNumber(line, 11);
    const bool dateSystem1904 = takeNumber(line, 0) != 0;
    workbook::isDateFormat(code);
    return isSound(workbook::formatNumber(value, code, dateSystem1904, width), code)
        && isSound(workbook::formatText(code, code), code);
}

}  // namespace kx::fuzz
