#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "workbook/format/number_format_decimal.h"
#include "workbook/format/number_format_render.h"

namespace kx::workbook {
namespace {

// Token indexes of the parts of "# ?/?" or "?/8".
struct FractionLayout {
    std::vector<size_t> integer, numerator, denominator;
    size_t slash = 0;
    std::vector<size_t> fixedDenominator;  // literal digits of a fixed denominator
    double fixedValue = 0;
};

bool isLiteralDigit(const Token& token)
{
    return token.kind == TokenKind::Literal && token.text.size() == 1 && token.text[0] >= '0' && token.text[0] <= '9';
}

void readDenominator(const std::vector<Token>& tokens, FractionLayout& layout)
{
    size_t i = layout.slash + 1;
    if (i < tokens.size() && isLiteralDigit(tokens[i]) && tokens[i].text[0] != '0') {
        for (; i < tokens.size() && (isLiteralDigit(tokens[i]) || tokens[i].kind == TokenKind::Digit); ++i) {
            const char digit = tokens[i].kind == TokenKind::Digit ? '0' : tokens[i].text[0];
            layout.fixedDenominator.push_back(i);
            layout.fixedValue = layout.fixedValue * 10 + (digit - '0');
        }
        return;
    }
    for (; i < tokens.size() && tokens[i].kind == TokenKind::Digit; ++i)
        layout.denominator.push_back(i);
}

std::optional<FractionLayout> fractionLayoutOf(const std::vector<Token>& tokens)
{
    for (size_t slash = 1; slash < tokens.size(); ++slash) {
        if (tokens[slash].kind != TokenKind::Slash || tokens[slash - 1].kind != TokenKind::Digit)
            continue;
        FractionLayout layout;
        layout.slash = slash;
        readDenominator(tokens, layout);
        if (layout.denominator.empty() && layout.fixedDenominator.empty())
            continue;
        size_t first = slash;
        while (first > 0 && tokens[first - 1].kind == TokenKind::Digit)
            --first;
        for (size_t i = first; i < slash; ++i)
            layout.numerator.push_back(i);
        for (size_t i = 0; i < first; ++i)
            if (tokens[i].kind == TokenKind::Digit)
                layout.integer.push_back(i);
        return layout;
    }
    return std::nullopt;
}

// The closest fraction to `x` with a denominator up to `maxDenominator`, from the continued
// fraction of `x`, preferring the smaller denominator on ties.
std::pair<double, double> closestFraction(double x, double maxDenominator)
{
    double p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double rest = x;
    for (int step = 0; step < 64; ++step) {
        const double whole = std::floor(rest);
        const double p2 = whole * p1 + p0, q2 = whole * q1 + q0;
        if (q2 > maxDenominator) {
            const double k = std::floor((maxDenominator - q0) / q1);
            const double p = p0 + k * p1, q = q0 + k * q1;
            return std::fabs(x - p / q) < std::fabs(x - p1 / q1) ? std::pair{p, q} : std::pair{p1, q1};
        }
        p0 = p1, q0 = q1, p1 = p2, q1 = q2;
        if (rest == whole)
            break;
        rest = 1 / (rest - whole);
    }
    return {p1, q1};
}

std::string digitsOf(double wholeNumber)
{
    return toDecimal(wholeNumber).integerDigits();
}

void blankOut(std::vector<std::string>& shown, const std::vector<size_t>& placeholders)
{
    for (size_t index : placeholders)
        std::replace(shown[index].begin(), shown[index].end(), '0', ' ');
}

}  // namespace

bool renderFraction(const Section& section, double magnitude, FormattedValue& out)
{
    const std::vector<Token>& tokens = section.tokens;
    const std::optional<FractionLayout> layout = fractionLayoutOf(tokens);
    if (!layout)
        return false;
    const bool mixed = !layout->integer.empty();
    double whole = mixed ? std::floor(magnitude) : 0;
    const double part = magnitude - whole;
    double numerator = 0, denominator = layout->fixedValue;
    if (denominator > 0) {
        numerator = std::round(part * denominator);
    } else {
        const int places = static_cast<int>(std::min<size_t>(layout->denominator.size(), 7));
        std::tie(numerator, denominator) = closestFraction(part, std::pow(10.0, places) - 1);
    }
    if (mixed && numerator == denominator) {
        whole += 1;
        numerator = 0;
    }
    // A mixed number without a fraction shows blanks where the fraction would be.
    const bool blank = mixed && numerator == 0;
    std::vector<std::string> shown(tokens.size());
    fillRightAligned(tokens, layout->integer, whole == 0 && blank ? "0" : digitsOf(whole), false, shown);
    fillRightAligned(tokens, layout->numerator, blank ? "" : numerator == 0 ? "0" : digitsOf(numerator), false, shown);
    const std::string denominatorDigits = blank ? "" : digitsOf(denominator);
    fillLeftAligned(tokens, layout->denominator, denominatorDigits, denominatorDigits.size(), shown);
    shown[layout->slash].push_back(blank ? ' ' : '/');
    for (size_t index : layout->fixedDenominator)
        shown[index] = blank ? " " : tokens[index].kind == TokenKind::Digit ? "0" : tokens[index].text;
    if (blank) {
        blankOut(shown, layout->numerator);
        blankOut(shown, layout->denominator);
    }
    for (size_t i = 0; i < tokens.size(); ++i) {
        const bool placed = tokens[i].kind == TokenKind::Digit || i == layout->slash
            || std::find(layout->fixedDenominator.begin(), layout->fixedDenominator.end(), i)
                != layout->fixedDenominator.end();
        if (placed)
            out.text += shown[i];
        else
            appendAsWritten(tokens[i], out);
    }
    return true;
}

}  // namespace kx::workbook
