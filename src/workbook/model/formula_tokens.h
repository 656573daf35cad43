#pragma once
// The ids of the tokens a stored formula is made of, and of the built-in functions its function
// tokens call: one table for every reader of formulas.
#include <cstdint>

namespace kx::workbook {

namespace formula_token {

enum : uint8_t {
    Add = 0x03, Subtract = 0x04, Multiply = 0x05, Divide = 0x06, Power = 0x07, Concatenate = 0x08,
    // The comparisons, in this order.
    Less = 0x09, LessOrEqual = 0x0A, Equal = 0x0B, GreaterOrEqual = 0x0C, Greater = 0x0D, NotEqual = 0x0E,
    Union = 0x10, UnaryPlus = 0x12, UnaryMinus = 0x13, Percent = 0x14, Parentheses = 0x15,
    String = 0x17, Attribute = 0x19, Boolean = 0x1D, Integer = 0x1E, Number = 0x1F,
    // Operand tokens, in their reference class (see baseToken).
    Function = 0x21, FunctionWithCount = 0x22,
    Reference = 0x24, Area = 0x25, RelativeReference = 0x2C, RelativeArea = 0x2D,
    SheetReference = 0x3A, SheetArea = 0x3B,
    // A sub-expression of references (MemoryFunction) or its cached areas.
    MemoryArea = 0x26, MemoryError = 0x27, MemoryNoMemory = 0x28, MemoryFunction = 0x29,
};

// Operand tokens come in three classes (reference, value, array) that differ only in bits 5-6;
// the base token is the reference class, and other tokens are their own base.
constexpr uint8_t baseToken(uint8_t token)
{
    return (token & 0x60) ? static_cast<uint8_t>((token & 0x1F) | 0x20) : token;
}

}  // namespace formula_token

namespace formula_function {

enum : uint16_t {
    Count = 0, If = 1, IsError = 3, Sum = 4, Average = 5, Min = 6, Max = 7, Row = 8, Column = 9,
    Abs = 24, Int = 25, Round = 27, Mid = 31, Len = 32, And = 36, Or = 37, Not = 38, Mod = 39,
    Day = 67, Month = 68, Year = 69, Weekday = 70, Search = 82,
    Lower = 112, Upper = 113, Left = 115, Right = 116, Trim = 118, Find = 124,
    IsErr = 126, IsText = 127, IsNumber = 128, IsBlank = 129, Today = 221, CountIf = 346,
};

}  // namespace formula_function

}  // namespace kx::workbook
