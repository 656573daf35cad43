#pragma once
// A number-format code split into sections and tokens.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/model/model.h"

namespace kx::workbook {

enum class TokenKind : uint8_t {
    Literal,       // shown as written: quoted text, escaped characters, padding, currency symbols
    Fill,          // "*x": x repeated to fill the cell
    Digit,         // a digit placeholder: '0', '#' or '?'
    DecimalPoint,
    Comma,         // thousands separator between digits, scaling by a thousand after them
    Percent,
    Exponent,      // "E+" or "E-"
    Slash,         // a fraction bar between digits, otherwise shown as written
    TextValue,     // '@': the cell's text
    General,
    Year, Month, Day, Hour, Minute, Second,
    ElapsedHours, ElapsedMinutes, ElapsedSeconds,
    SubSecond,     // ".0" to ".000" after seconds
    AmPm,          // "AM/PM" or "A/P" in the case written
};

struct Token {
    TokenKind kind = TokenKind::Literal;
    std::string text;  // Literal and Fill: the characters; AmPm, Exponent: the letters as written
    char symbol = 0;   // Digit: '0', '#' or '?'; Exponent: '+' or '-'
    int count = 0;     // date and time parts: how many letters ("mm" is 2); SubSecond: digits
};

struct Condition {
    enum class Operator : uint8_t { Less, LessOrEqual, Greater, GreaterOrEqual, Equal, NotEqual };
    Operator op = Operator::Equal;
    double operand = 0;

    bool holds(double value) const;
};

struct Section {
    std::vector<Token> tokens;
    std::optional<Color> color;
    std::optional<Condition> condition;

    bool has(TokenKind kind) const;
    bool isDate() const;
};

// Never fails: what the spreadsheet program would reject is shown as literal text.
std::vector<Section> parseFormatCode(std::string_view code);

}  // namespace kx::workbook
