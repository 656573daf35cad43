#pragma once
// The XOR obfuscation of the oldest protected workbooks: a 16-bit check value of the password
// and a 16-byte array that every encrypted byte is combined with.
#include <array>
#include <cstdint>
#include <string_view>

namespace kx::workbook::detail {

// The check value FILEPASS stores to tell whether a password is the right one.
uint16_t xorPasswordVerifier(std::u16string_view password);
// The key FILEPASS stores beside the check value.
uint16_t xorPasswordKey(std::u16string_view password);
// The bytes the data is combined with, in turn.
std::array<uint8_t, 16> xorArray(std::u16string_view password);

// One byte of obfuscated data back to plain, with the array entry its position selects.
inline uint8_t unobfuscate(uint8_t value, uint8_t arrayEntry)
{
    return static_cast<uint8_t>((value << 3 | value >> 5) ^ arrayEntry);
}

}  // namespace kx::workbook::detail
