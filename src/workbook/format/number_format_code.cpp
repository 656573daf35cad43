#include "workbook/format/number_format_code.h"

#include <algorithm>
#include <cctype>

#include "workbook/format/number_format_brackets.h"

namespace kx::workbook {
namespace {

bool isDatePart(TokenKind kind)
{
    return kind >= TokenKind::Year && kind <= TokenKind::AmPm;
}

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) { return lower(a) == lower(b); });
}

// The length of the UTF-8 sequence starting at `text[0]`, never beyond the text.
size_t codePointLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size());
}

class Tokenizer {
public:
    explicit Tokenizer(std::string_view code) : rest_(code) {}

    std::vector<Section> sections()
    {
        std::vector<Section> result(1);
        while (!rest_.empty()) {
            if (rest_[0] == ';') {
                rest_.remove_prefix(1);
                result.emplace_back();
            } else {
                readToken(result.back());
            }
        }
        for (Section& section : result)
            resolveMinutes(section.tokens);
        return result;
    }

private:
    std::string_view rest_;

    std::string_view take(size_t count)
    {
        std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(taken.size());
        return taken;
    }

    std::string takeCodePoint() { return rest_.empty() ? std::string() : std::string(take(codePointLength(rest_))); }

    static void addLiteral(Section& section, std::string text) { section.tokens.push_back({.text = std::move(text)}); }

    static void addDatePart(Section& section, TokenKind kind, int count)
    {
        section.tokens.push_back({.kind = kind, .count = count});
    }

    int takeRunOf(char letter)
    {
        size_t count = 0;
        while (count < rest_.size() && lower(rest_[count]) == letter)
            ++count;
        take(count);
        return static_cast<int>(count);
    }

    static bool followsSeconds(const Section& section)
    {
        auto previous = std::find_if(section.tokens.rbegin(), section.tokens.rend(),
                                     [](const Token& t) { return isDatePart(t.kind); });
        return previous != section.tokens.rend()
            && (previous->kind == TokenKind::Second || previous->kind == TokenKind::ElapsedSeconds);
    }

    void readToken(Section& section)
    {
        const char c = rest_[0];
        switch (lower(c)) {
        case '"': {
            take(1);
            const size_t end = rest_.find('"');
            addLiteral(section, std::string(take(end)));
            take(1);
            return;
        }
        case '\\': take(1); addLiteral(section, takeCodePoint()); return;
        case '_': take(1); takeCodePoint(); addLiteral(section, " "); return;
        case '*': take(1); section.tokens.push_back({.kind = TokenKind::Fill, .text = takeCodePoint()}); return;
        case '[': readBracket(section); return;
        case '0': case '#': case '?':
            section.tokens.push_back({.kind = TokenKind::Digit, .symbol = c});
            take(1);
            return;
        case '.': readPoint(section); return;
        case ',': take(1); section.tokens.push_back({.kind = TokenKind::Comma}); return;
        case '%': take(1); section.tokens.push_back({.kind = TokenKind::Percent}); return;
        case '/': take(1); section.tokens.push_back({.kind = TokenKind::Slash}); return;
        case '@': take(1); section.tokens.push_back({.kind = TokenKind::TextValue}); return;
        case 'y': addDatePart(section, TokenKind::Year, takeRunOf('y')); return;
        case 'm': addDatePart(section, TokenKind::Month, takeRunOf('m')); return;
        case 'd': addDatePart(section, TokenKind::Day, takeRunOf('d')); return;
        case 'h': addDatePart(section, TokenKind::Hour, takeRunOf('h')); return;
        case 's': addDatePart(section, TokenKind::Second, takeRunOf('s')); return;
        default: readWord(section); return;
        }
    }

    void readBracket(Section& section)
    {
        const size_t end = rest_.find(']');
        if (end == std::string_view::npos) {
            addLiteral(section, std::string(take(1)));
            return;
        }
        std::string_view content = take(end + 1).substr(1, end - 1);
        applyBracket(content, section);
    }

    void readPoint(Section& section)
    {
        take(1);
        if (!rest_.starts_with('0') || !followsSeconds(section)) {
            section.tokens.push_back({.kind = TokenKind::DecimalPoint});
            return;
        }
        addDatePart(section, TokenKind::SubSecond, takeRunOf('0'));
    }

    void readWord(Section& section)
    {
        if (startsWithIgnoringCase(rest_, "General")) {
            take(7);
            section.tokens.push_back({.kind = TokenKind::General});
        } else if (startsWithIgnoringCase(rest_, "AM/PM") || startsWithIgnoringCase(rest_, "A/P")) {
            const size_t length = lower(rest_[1]) == 'm' ? 5 : 3;
            section.tokens.push_back({.kind = TokenKind::AmPm, .text = std::string(take(length))});
        } else if ((rest_[0] == 'E' || rest_[0] == 'e') && rest_.size() > 1 && (rest_[1] == '+' || rest_[1] == '-')) {
            section.tokens.push_back({.kind = TokenKind::Exponent, .text = std::string(1, rest_[0]), .symbol = rest_[1]});
            take(2);
        } else if (rest_[0] == 'e' || rest_[0] == 'E') {
            // "e" is the year in full, as in the East Asian formats that use it.
            take(1);
            addDatePart(section, TokenKind::Year, 4);
        } else {
            addLiteral(section, takeCodePoint());
        }
    }

    // "m" is minutes right after hours or right before seconds, otherwise months.
    static void resolveMinutes(std::vector<Token>& tokens)
    {
        const Token* previousDatePart = nullptr;
        for (size_t i = 0; i < tokens.size(); ++i) {
            Token& token = tokens[i];
            if (!isDatePart(token.kind))
                continue;
            if (token.kind == TokenKind::Month && token.count <= 2) {
                auto next = std::find_if(tokens.begin() + i + 1, tokens.end(),
                                         [](const Token& t) { return isDatePart(t.kind); });
                const bool afterHours = previousDatePart
                    && (previousDatePart->kind == TokenKind::Hour || previousDatePart->kind == TokenKind::ElapsedHours);
                const bool beforeSeconds = next != tokens.end()
                    && (next->kind == TokenKind::Second || next->kind == TokenKind::ElapsedSeconds);
                if (afterHours || beforeSeconds)
                    token.kind = TokenKind::Minute;
            }
            previousDatePart = &token;
        }
    }
};

}  // namespace

bool Condition::holds(double value) const
{
    switch (op) {
    case Operator::Less: return value < operand;
    case Operator::LessOrEqual: return value <= operand;
    case Operator::Greater: return value > operand;
    case Operator::GreaterOrEqual: return value >= operand;
    case Operator::Equal: return value == operand;
    case Operator::NotEqual: return value != operand;
    }
    return false;
}

bool Section::has(TokenKind kind) const
{
    return std::any_of(tokens.begin(), tokens.end(), [kind](const Token& t) { return t.kind == kind; });
}

bool Section::isDate() const
{
    return std::any_of(tokens.begin(), tokens.end(),
                       [](const Token& t) { return isDatePart(t.kind) && t.kind != TokenKind::AmPm; });
}

std::vector<Section> parseFormatCode(std::string_view code)
{
    return Tokenizer(code).sections();
}

}  // namespace kx::workbook
