#include <cstdint>

#include "workbook/format/number_format_render.h"

namespace kx::workbook {
namespace {

char32_t decodeCodePoint(const std::string& utf8)
{
    if (utf8.empty())
        return U' ';
    const auto lead = static_cast<unsigned char>(utf8[0]);
    const int length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (length == 1 || static_cast<int>(utf8.size()) < length)
        return lead;
    char32_t value = lead & (0x3F >> (length - 1));
    for (int i = 1; i < length; ++i)
        value = (value << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    return value;
}

char padding(char placeholder)
{
    return placeholder == '0' ? '0' : placeholder == '?' ? ' ' : 0;
}

}  // namespace

void appendAsWritten(const Token& token, FormattedValue& out)
{
    switch (token.kind) {
    case TokenKind::Literal: out.text += token.text; break;
    case TokenKind::Fill:
        // Only the first repeat counts, as in the program.
        if (!out.fill) {
            out.fill = decodeCodePoint(token.text);
            out.fillOffset = out.text.size();
        }
        break;
    case TokenKind::Digit: out.text += token.symbol; break;
    case TokenKind::DecimalPoint: out.text += '.'; break;
    case TokenKind::Comma: out.text += ','; break;
    case TokenKind::Percent: out.text += '%'; break;
    case TokenKind::Slash: out.text += '/'; break;
    case TokenKind::Exponent: out.text.append(token.text).append(1, token.symbol); break;
    case TokenKind::AmPm: out.text += token.text; break;
    default: break;
    }
}

void fillRightAligned(const std::vector<Token>& tokens, const std::vector<size_t>& placeholders,
                      const std::string& digits, bool grouping, std::vector<std::string>& shown)
{
    const size_t count = placeholders.size();
    const size_t length = digits.size();
    for (size_t k = 0; k < count; ++k) {
        std::string& text = shown[placeholders[k]];
        auto put = [&](char c, size_t position) {
            text += c;
            if (grouping && position > 0 && position % 3 == 0)
                text += c == ' ' ? ' ' : ',';
        };
        const size_t position = count - 1 - k;
        if (k == 0)
            for (size_t extra = length; extra > position + 1; --extra)
                put(digits[length - extra], extra - 1);
        if (position < length)
            put(digits[length - 1 - position], position);
        else if (char pad = padding(tokens[placeholders[k]].symbol))
            put(pad, position);
    }
}

void fillLeftAligned(const std::vector<Token>& tokens, const std::vector<size_t>& placeholders,
                     const std::string& digits, size_t significant, std::vector<std::string>& shown)
{
    for (size_t k = 0; k < placeholders.size(); ++k) {
        std::string& text = shown[placeholders[k]];
        if (k < significant && k < digits.size())
            text += digits[k];
        else if (char pad = padding(tokens[placeholders[k]].symbol))
            text += pad;
    }
}

void renderText(const Section& section, std::string_view text, FormattedValue& out)
{
    for (const Token& token : section.tokens) {
        if (token.kind == TokenKind::TextValue || token.kind == TokenKind::General)
            out.text += text;
        else
            appendAsWritten(token, out);
    }
}

}  // namespace kx::workbook
