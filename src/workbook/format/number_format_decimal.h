#pragma once
// Decimal digits of a value, rounded the way the spreadsheet program rounds what it shows:
// from the value's 15 significant digits, half away from zero.
#include <string>

namespace kx::workbook {

// A non-negative value: `digits` without leading or trailing zeros (empty for zero), the
// decimal point `point` digits from the left (negative or beyond the end for small or large values).
struct Decimal {
    std::string digits;
    int point = 0;

    bool isZero() const { return digits.empty(); }
    // The digits before the point, without leading zeros ("" when below one).
    std::string integerDigits() const;
    // Exactly `count` digits after the point.
    std::string fractionDigits(int count) const;
};

// `magnitude` must be finite and not negative.
Decimal toDecimal(double magnitude);
// Keeps at most `decimals` digits after the point (a negative count rounds to tens, hundreds...).
Decimal roundToDecimals(Decimal value, int decimals);
Decimal roundToSignificant(Decimal value, int significant);

}  // namespace kx::workbook
