#pragma once
// Workbooks whose structure or windows are protected are saved encrypted with a password that
// every copy of the spreadsheet program knows, and open without asking. This undoes that
// encryption: RC4 with MD5 keys, RC4 through the CryptoAPI with SHA-1 keys, and the older XOR
// obfuscation, each as the FILEPASS record of the workbook globals describes it.
#include <cstddef>
#include <string_view>
#include <vector>

namespace kx::workbook::detail {

// The password the spreadsheet program saves protected workbooks with.
inline constexpr std::u16string_view kDefaultPassword = u"VelvetSweatshop";

// Decrypts `stream` in place when its globals carry a FILEPASS record; leaves it as it is
// otherwise. Record headers stay as they are, and so do the records that are never encrypted.
// Throws ReadFailure: PasswordProtected when the workbook needs another password, Unsupported
// for an encryption this reader does not know.
void decryptWorkbookStream(std::vector<std::byte>& stream, std::u16string_view password = kDefaultPassword);

}  // namespace kx::workbook::detail
