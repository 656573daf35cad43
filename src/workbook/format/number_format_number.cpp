#include <cmath>
#include <optional>
#include <tuple>

#include "workbook/format/number_format_decimal.h"
#include "workbook/format/number_format_general.h"
#include "workbook/format/number_format_render.h"

namespace kx::workbook {
namespace {

// Where the digits of a plain or scientific section go.
struct Layout {
    std::vector<size_t> integer, fraction, exponent;  // token indexes of digit placeholders
    std::optional<size_t> point;                      // the decimal point
    std::vector<bool> silentComma;                    // per token: a comma that separates or scales
    bool grouping = false;
    int thousandsScale = 0;
    int percents = 0;
};

// A run of commas between digits groups thousands; after digits it divides by a thousand each.
void classifyCommas(const std::vector<Token>& tokens, Layout& layout)
{
    for (size_t first = 0; first < tokens.size(); ++first) {
        if (tokens[first].kind != TokenKind::Comma)
            continue;
        size_t end = first;
        while (end < tokens.size() && tokens[end].kind == TokenKind::Comma)
            ++end;
        const bool afterDigit = first > 0
            && (tokens[first - 1].kind == TokenKind::Digit || tokens[first - 1].kind == TokenKind::DecimalPoint);
        const bool beforeDigit = end < tokens.size() && tokens[end].kind == TokenKind::Digit;
        const bool inInteger = !layout.point || first < *layout.point;
        if (afterDigit && beforeDigit && inInteger)
            layout.grouping = true;
        else if (afterDigit)
            layout.thousandsScale += static_cast<int>(end - first);
        if (afterDigit)
            for (size_t i = first; i < end; ++i)
                layout.silentComma[i] = true;
        first = end - 1;
    }
}

Layout layoutOf(const std::vector<Token>& tokens)
{
    Layout layout;
    layout.silentComma.assign(tokens.size(), false);
    bool inExponent = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        switch (tokens[i].kind) {
        case TokenKind::Digit:
            (inExponent ? layout.exponent : layout.point ? layout.fraction : layout.integer).push_back(i);
            break;
        case TokenKind::DecimalPoint:
            if (!layout.point && !inExponent)
                layout.point = i;
            break;
        case TokenKind::Exponent: inExponent = true; break;
        case TokenKind::Percent: ++layout.percents; break;
        default: break;
        }
    }
    classifyCommas(tokens, layout);
    return layout;
}

Decimal scaled(double magnitude, const Layout& layout)
{
    Decimal value = toDecimal(magnitude);
    if (!value.isZero())
        value.point += 2 * layout.percents - 3 * layout.thousandsScale;
    return value;
}

std::string groupedDigits(const std::string& digits, bool grouping)
{
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (grouping && i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

size_t significantLength(const std::string& fraction)
{
    const size_t last = fraction.find_last_not_of('0');
    return last == std::string::npos ? 0 : last + 1;
}

// The mantissa and exponent that the section's placeholders show. With more than one integer
// placeholder led by '#', the exponent is a multiple of their count (engineering notation);
// otherwise every integer placeholder takes a digit.
std::pair<Decimal, int> scientificParts(const std::vector<Token>& tokens, const Decimal& value, const Layout& layout)
{
    if (value.isZero())
        return {value, 0};
    const auto& integerCount = layout.integer.size();
    const int width = static_cast<int>(std::max<size_t>(integerCount, 1));
    const bool engineering = integerCount > 1 && tokens[layout.integer[0]].symbol == '#';
    int exponent = value.point - width;
    if (engineering) {
        const int step = value.point - 1;
        exponent = (step >= 0 ? step / width : -((-step + width - 1) / width)) * width;
    }
    Decimal mantissa = value;
    mantissa.point -= exponent;
    mantissa = roundToDecimals(mantissa, static_cast<int>(layout.fraction.size()));
    if (mantissa.point > width) {
        const int carry = engineering ? width : 1;
        mantissa.point -= carry;
        exponent += carry;
    }
    return {mantissa, exponent};
}

class NumberRenderer {
public:
    NumberRenderer(const Section& section, double magnitude, int generalMaxChars)
        : tokens_(section.tokens), layout_(layoutOf(tokens_)), magnitude_(magnitude),
          generalMaxChars_(generalMaxChars), shown_(tokens_.size())
    {
    }

    void render(FormattedValue& out)
    {
        Decimal value = scaled(magnitude_, layout_);
        bool scientific = false;
        int exponent = 0;
        for (const Token& token : tokens_)
            scientific = scientific || token.kind == TokenKind::Exponent;
        if (scientific)
            std::tie(value, exponent) = scientificParts(tokens_, value, layout_);
        else
            value = roundToDecimals(value, static_cast<int>(layout_.fraction.size()));
        fillPlaceholders(value, exponent);
        for (size_t i = 0; i < tokens_.size(); ++i)
            appendToken(i, exponent, out);
    }

private:
    const std::vector<Token>& tokens_;
    Layout layout_;
    double magnitude_;
    int generalMaxChars_;
    std::vector<std::string> shown_;
    std::string integerDigits_;

    void fillPlaceholders(const Decimal& value, int exponent)
    {
        integerDigits_ = value.integerDigits();
        fillRightAligned(tokens_, layout_.integer, integerDigits_, layout_.grouping, shown_);
        const std::string fraction = value.fractionDigits(static_cast<int>(layout_.fraction.size()));
        fillLeftAligned(tokens_, layout_.fraction, fraction, significantLength(fraction), shown_);
        const std::string exponentDigits = exponent == 0 ? "" : std::to_string(std::abs(exponent));
        fillRightAligned(tokens_, layout_.exponent, exponentDigits, false, shown_);
    }

    void appendToken(size_t index, int exponent, FormattedValue& out)
    {
        const Token& token = tokens_[index];
        switch (token.kind) {
        case TokenKind::Digit: out.text += shown_[index]; return;
        case TokenKind::DecimalPoint:
            // Without integer placeholders the integer digits still show, before the point.
            if (index == layout_.point && layout_.integer.empty())
                out.text += groupedDigits(integerDigits_, layout_.grouping);
            out.text += '.';
            return;
        case TokenKind::Comma:
            if (!layout_.silentComma[index])
                out.text += ',';
            return;
        case TokenKind::Exponent:
            out.text += token.text;
            if (exponent < 0 || token.symbol == '+')
                out.text += exponent < 0 ? '-' : '+';
            return;
        case TokenKind::General: out.text += formatGeneral(magnitude_, generalMaxChars_); return;
        case TokenKind::TextValue: return;
        default: appendAsWritten(token, out); return;
        }
    }
};

}  // namespace

void renderNumber(const Section& section, double magnitude, bool negative, int generalMaxChars, FormattedValue& out)
{
    FormattedValue body;
    if (!renderFraction(section, magnitude, body))
        NumberRenderer(section, magnitude, generalMaxChars).render(body);
    if (negative) {
        body.text.insert(0, 1, '-');
        if (body.fill)
            ++body.fillOffset;
    }
    out.text = std::move(body.text);
    out.fill = body.fill;
    out.fillOffset = body.fillOffset;
}

}  // namespace kx::workbook
