#include "workbook/format/number_format_general.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "workbook/format/number_format_decimal.h"

namespace kx::workbook {
namespace {

// General never writes a whole number of 12 or more digits in full, however wide the cell.
constexpr int maxIntegerDigits = 11;

std::string fixedText(const Decimal& value)
{
    std::string text = value.point > 0 ? value.integerDigits() : "0";
    const int decimals = static_cast<int>(value.digits.size()) - value.point;
    if (decimals > 0)
        text.append(".").append(value.fractionDigits(decimals));
    return text;
}

std::string scientificText(const Decimal& value, int maxChars)
{
    const int exponent = value.point - 1;
    const int exponentDigits = std::abs(exponent) >= 100 ? 3 : 2;
    const int significant = std::max(maxChars - exponentDigits - 3, 1);
    Decimal mantissa = roundToSignificant(value, significant);
    const int roundedExponent = mantissa.point - 1;
    std::string text(1, mantissa.digits[0]);
    if (mantissa.digits.size() > 1)
        text.append(".").append(mantissa.digits, 1);
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", roundedExponent < 0 ? '-' : '+',
                  std::abs(roundedExponent));
    return text + exponentText;
}

// The plain form rounded to fit, or nothing when it cannot fit or shows fewer digits than
// the scientific form would.
std::string fittedFixedText(const Decimal& value, int maxChars)
{
    const int integerChars = std::max(value.point, 1);
    if (integerChars > std::min(maxChars, maxIntegerDigits))
        return {};
    const int decimals = std::max(maxChars - integerChars - 1, 0);
    Decimal rounded = roundToDecimals(value, decimals);
    if (rounded.isZero() || std::max(rounded.point, 1) > std::min(maxChars, maxIntegerDigits))
        return {};
    const int exponentChars = std::abs(value.point - 1) >= 100 ? 5 : 4;
    const int scientificDigits = maxChars - exponentChars - 1;
    if (value.point + decimals < scientificDigits)
        return {};
    return fixedText(rounded);
}

}  // namespace

std::string formatGeneral(double value, int maxChars)
{
    const Decimal magnitude = toDecimal(std::fabs(value));
    if (magnitude.isZero())
        return "0";
    std::string text = fixedText(magnitude);
    const bool fits = static_cast<int>(text.size()) <= maxChars && std::max(magnitude.point, 1) <= maxIntegerDigits;
    if (!fits) {
        text = fittedFixedText(magnitude, maxChars);
        if (text.empty())
            text = scientificText(magnitude, maxChars);
    }
    return value < 0 ? "-" + text : text;
}

}  // namespace kx::workbook
