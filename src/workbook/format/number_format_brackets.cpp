#include "workbook/format/number_format_brackets.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

#include "workbook/model/palette.h"

namespace kx::workbook {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

Color toColor(uint32_t rgb)
{
    return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
}

std::optional<Color> namedColor(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, uint32_t>, 8> names{{
        {"Black", 0x000000}, {"White", 0xFFFFFF}, {"Red", 0xFF0000}, {"Green", 0x00FF00},
        {"Blue", 0x0000FF}, {"Yellow", 0xFFFF00}, {"Magenta", 0xFF00FF}, {"Cyan", 0x00FFFF},
    }};
    for (const auto& [known, rgb] : names)
        if (equalsIgnoringCase(name, known))
            return toColor(rgb);
    constexpr std::string_view prefix = "Color";
    if (name.size() <= prefix.size() || !equalsIgnoringCase(name.substr(0, prefix.size()), prefix))
        return std::nullopt;
    unsigned number = 0;
    const char* end = name.data() + name.size();
    auto [rest, error] = std::from_chars(name.data() + prefix.size(), end, number);
    // "[ColorN]" names the default palette's entries 1 to 56 (indexes 8 to 63).
    static const std::vector<Color> palette = detail::defaultPalette();
    if (error != std::errc() || rest != end || number < 1 || number > palette.size())
        return std::nullopt;
    return palette[number - 1];
}

std::optional<Condition> condition(std::string_view text)
{
    using Op = Condition::Operator;
    static constexpr std::array<std::pair<std::string_view, Op>, 6> operators{{
        {"<>", Op::NotEqual}, {"<=", Op::LessOrEqual}, {">=", Op::GreaterOrEqual},
        {"<", Op::Less}, {">", Op::Greater}, {"=", Op::Equal},
    }};
    for (const auto& [symbol, op] : operators) {
        if (!text.starts_with(symbol))
            continue;
        std::string_view operand = text.substr(symbol.size());
        double number = 0;
        auto [rest, error] = std::from_chars(operand.data(), operand.data() + operand.size(), number);
        if (error != std::errc() || rest != operand.data() + operand.size())
            return std::nullopt;
        return Condition{op, number};
    }
    return std::nullopt;
}

std::optional<Token> elapsedTime(std::string_view text)
{
    if (text.empty() || text.find_first_not_of(text[0]) != std::string_view::npos)
        return std::nullopt;
    const int count = static_cast<int>(text.size());
    switch (std::tolower(static_cast<unsigned char>(text[0]))) {
    case 'h': return Token{.kind = TokenKind::ElapsedHours, .count = count};
    case 'm': return Token{.kind = TokenKind::ElapsedMinutes, .count = count};
    case 's': return Token{.kind = TokenKind::ElapsedSeconds, .count = count};
    default: return std::nullopt;
    }
}

}  // namespace

void applyBracket(std::string_view content, Section& section)
{
    if (content.starts_with('$')) {
        // "[$€-2]": a currency symbol, then after '-' the locale, which is not shown.
        std::string_view symbol = content.substr(1, content.find('-') - 1);
        if (!symbol.empty())
            section.tokens.push_back({.kind = TokenKind::Literal, .text = std::string(symbol)});
    } else if (auto color = namedColor(content)) {
        section.color = color;
    } else if (auto test = condition(content)) {
        section.condition = test;
    } else if (auto token = elapsedTime(content)) {
        section.tokens.push_back(*token);
    }
}

}  // namespace kx::workbook
