#include "workbook/xls/xor_obfuscation.h"

#include <algorithm>
#include <string>

namespace kx::workbook::detail {

namespace {

// Only the first fifteen characters count, one byte each: the low byte, or the high byte where
// the low one is zero.
std::basic_string<uint8_t> passwordBytes(std::u16string_view password)
{
    std::basic_string<uint8_t> bytes;
    for (char16_t character : password.substr(0, 15)) {
        const auto low = static_cast<uint8_t>(character & 0xFF);
        bytes.push_back(low != 0 ? low : static_cast<uint8_t>(character >> 8));
    }
    return bytes;
}

// A left turn of the low fifteen bits.
uint16_t rotateFifteenBits(uint16_t value)
{
    return static_cast<uint16_t>((value << 1 & 0x7FFF) | (value >> 14 & 1));
}

constexpr uint16_t kInitialKeys[15] = {0xE1F0, 0x1D0F, 0xCC9C, 0x84C0, 0x110C, 0x0E10, 0xF1CE, 0x313E,
                                       0x1872, 0xE139, 0xD40F, 0x84F9, 0x280C, 0xA96A, 0x4EC3};

// One row per character position counted from the end of a fifteen-character password, one
// column per bit of the character.
constexpr uint16_t kKeyMatrix[15][7] = {
    {0xAEFC, 0x4DD9, 0x9BB2, 0x2745, 0x4E8A, 0x9D14, 0x2A09},
    {0x7B61, 0xF6C2, 0xFDA5, 0xEB6B, 0xC6F7, 0x9DCF, 0x2BBF},
    {0x4563, 0x8AC6, 0x05AD, 0x0B5A, 0x16B4, 0x2D68, 0x5AD0},
    {0x0375, 0x06EA, 0x0DD4, 0x1BA8, 0x3750, 0x6EA0, 0xDD40},
    {0xD849, 0xA0B3, 0x5147, 0xA28E, 0x553D, 0xAA7A, 0x44D5},
    {0x6F45, 0xDE8A, 0xAD35, 0x4A4B, 0x9496, 0x390D, 0x721A},
    {0xEB23, 0xC667, 0x9CEF, 0x29FF, 0x53FE, 0xA7FC, 0x5FD9},
    {0x47D3, 0x8FA6, 0x0F6D, 0x1EDA, 0x3DB4, 0x7B68, 0xF6D0},
    {0xB861, 0x60E3, 0xC1C6, 0x93AD, 0x377B, 0x6EF6, 0xDDEC},
    {0x45A0, 0x8B40, 0x06A1, 0x0D42, 0x1A84, 0x3508, 0x6A10},
    {0xAA51, 0x4483, 0x8906, 0x022D, 0x045A, 0x08B4, 0x1168},
    {0x76B4, 0xED68, 0xCAF1, 0x85C3, 0x1BA7, 0x374E, 0x6E9C},
    {0x3730, 0x6E60, 0xDCC0, 0xA9A1, 0x4363, 0x86C6, 0x1DAD},
    {0x3331, 0x6662, 0xCCC4, 0x89A9, 0x0373, 0x06E6, 0x0DCC},
    {0x1021, 0x2042, 0x4084, 0x8108, 0x1231, 0x2462, 0x48C4},
};

// Fills the array after the password's own bytes.
constexpr uint8_t kPadding[16] = {0xBB, 0xFF, 0xFF, 0xBA, 0xFF, 0xFF, 0xB9, 0x80,
                                  0x00, 0xBE, 0x0F, 0x00, 0xBF, 0x0F, 0x00, 0x00};

}  // namespace

uint16_t xorPasswordVerifier(std::u16string_view password)
{
    const auto bytes = passwordBytes(password);
    if (bytes.empty())
        return 0;
    uint16_t verifier = 0;
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte)
        verifier = rotateFifteenBits(verifier) ^ *byte;
    verifier = rotateFifteenBits(verifier) ^ static_cast<uint16_t>(bytes.size());
    return verifier ^ 0xCE4B;
}

uint16_t xorPasswordKey(std::u16string_view password)
{
    const auto bytes = passwordBytes(password);
    if (bytes.empty())
        return 0;
    uint16_t key = kInitialKeys[bytes.size() - 1];
    for (size_t i = 0; i < bytes.size(); ++i) {
        const size_t row = 15 - bytes.size() + i;
        for (int bit = 0; bit < 7; ++bit)
            if (bytes[i] & 1 << bit)
                key ^= kKeyMatrix[row][bit];
    }
    return key;
}

std::array<uint8_t, 16> xorArray(std::u16string_view password)
{
    const auto bytes = passwordBytes(password);
    std::array<uint8_t, 16> array{};
    std::copy(bytes.begin(), bytes.end(), array.begin());
    std::copy(kPadding, kPadding + (16 - bytes.size()), array.begin() + static_cast<std::ptrdiff_t>(bytes.size()));
    const uint16_t key = xorPasswordKey(password);
    for (size_t i = 0; i < array.size(); ++i) {
        const auto mixed = static_cast<uint8_t>(array[i] ^ (i % 2 == 0 ? key & 0xFF : key >> 8));
        array[i] = static_cast<uint8_t>(mixed << 2 | mixed >> 6);
    }
    return array;
}

}  // namespace kx::workbook::detail
