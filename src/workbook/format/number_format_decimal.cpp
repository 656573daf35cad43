#include "workbook/format/number_format_decimal.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace kx::workbook {
namespace {

void trimTrailingZeros(std::string& digits)
{
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
}

// Keeps the first `kept` digits, rounding half up on the next one.
Decimal roundAt(Decimal value, int kept)
{
    if (kept >= static_cast<int>(value.digits.size()))
        return value;
    if (kept < 0)
        return {};
    const bool up = value.digits[kept] >= '5';
    value.digits.resize(kept);
    if (up) {
        int index = kept - 1;
        while (index >= 0 && value.digits[index] == '9')
            value.digits[index--] = '0';
        if (index >= 0) {
            ++value.digits[index];
        } else {
            value.digits.insert(value.digits.begin(), '1');
            ++value.point;
        }
    }
    trimTrailingZeros(value.digits);
    if (value.digits.empty())
        value.point = 0;
    return value;
}

}  // namespace

std::string Decimal::integerDigits() const
{
    if (point <= 0)
        return {};
    std::string result = digits.substr(0, std::min<size_t>(point, digits.size()));
    result.resize(point, '0');
    return result;
}

std::string Decimal::fractionDigits(int count) const
{
    std::string result;
    result.reserve(std::max(count, 0));
    for (int position = point; position < point + count; ++position) {
        const bool present = position >= 0 && position < static_cast<int>(digits.size());
        result += present ? digits[position] : '0';
    }
    return result;
}

Decimal toDecimal(double magnitude)
{
    if (magnitude == 0)
        return {};
    // "d.ddddddddddddddde+x": the 15 significant digits the program keeps, correctly rounded
    // as printf's "%.14e" gives them, without its cost.
    char buffer[40] = {};
    std::to_chars(buffer, buffer + sizeof buffer - 1, magnitude, std::chars_format::scientific, 14);
    Decimal value;
    value.digits += buffer[0];
    value.digits.append(buffer + 2, 14);
    value.point = std::atoi(buffer + 17) + 1;
    trimTrailingZeros(value.digits);
    return value;
}

Decimal roundToDecimals(Decimal value, int decimals)
{
    const int kept = value.point + decimals;
    return roundAt(std::move(value), kept);
}

Decimal roundToSignificant(Decimal value, int significant)
{
    return roundAt(std::move(value), std::max(significant, 1));
}

}  // namespace kx::workbook
