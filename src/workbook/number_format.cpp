#include "workbook/number_format.h"

#include <cmath>

#include "workbook/number_format_decimal.h"
#include "workbook/number_format_general.h"

namespace kx::workbook {
namespace {

std::string grouped(const std::string& digits)
{
    std::string result;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result += ',';
        result += digits[i];
    }
    return result;
}

std::string fixedDecimals(double value, int decimals, bool thousands)
{
    const Decimal rounded = roundToDecimals(toDecimal(std::fabs(value)), decimals);
    std::string integer = rounded.integerDigits();
    if (integer.empty())
        integer.push_back('0');
    std::string text = thousands ? grouped(integer) : integer;
    if (decimals > 0)
        text.append(".").append(rounded.fractionDigits(decimals));
    return value < 0 && !rounded.isZero() ? "-" + text : text;
}

}  // namespace

FormattedValue formatNumber(double value, std::string_view formatCode, bool, int generalMaxChars)
{
    std::string_view code = formatCode;
    const bool thousands = code.starts_with("#,##");
    if (thousands)
        code.remove_prefix(4);
    if (code == "0" || code.starts_with("0.")) {
        const size_t decimals = code == "0" ? 0 : code.size() - 2;
        if (code.find_first_not_of('0', 2) == std::string_view::npos || code == "0")
            return {.text = fixedDecimals(value, static_cast<int>(decimals), thousands)};
    }
    return {.text = formatGeneral(value, generalMaxChars)};
}

FormattedValue formatText(std::string_view text, std::string_view)
{
    return {.text = std::string(text)};
}

bool isDateFormat(std::string_view)
{
    return false;
}

}  // namespace kx::workbook
