#include "workbook/xls/code_page.h"

#include <glib.h>

#include <memory>

namespace kx::workbook::detail {

namespace {

constexpr uint16_t kWindowsLatin = 1252;

// The code page of the Macintosh versions of the spreadsheet program and plain ASCII.
constexpr uint16_t kMacRoman = 10000;
constexpr uint16_t kMacRomanOld = 0x8000;
constexpr uint16_t kAscii = 367;
constexpr uint16_t kWindowsLatinOld = 0x8001;

struct GFree {
    void operator()(gchar* text) const { g_free(text); }
};

bool convert(std::string_view bytes, const std::string& from, std::u16string& out)
{
    gsize written = 0;
    GError* error = nullptr;
    std::unique_ptr<gchar, GFree> converted(
        g_convert(bytes.data(), static_cast<gssize>(bytes.size()), "UTF-16LE", from.c_str(), nullptr, &written, &error));
    if (error) {
        g_error_free(error);
        return false;
    }
    out.clear();
    for (gsize i = 0; i + 1 < written; i += 2)
        out.push_back(static_cast<char16_t>(static_cast<uint8_t>(converted.get()[i]) |
                                            static_cast<uint8_t>(converted.get()[i + 1]) << 8));
    return true;
}

}  // namespace

std::string codePageName(uint16_t codePage)
{
    switch (codePage) {
    case 0:
    case kWindowsLatinOld:
        return "CP1252";
    case kAscii:
        return "ASCII";
    case kMacRoman:
    case kMacRomanOld:
        return "MACINTOSH";
    default:
        return "CP" + std::to_string(codePage);
    }
}

std::u16string decodeCodePage(std::string_view bytes, uint16_t codePage)
{
    std::u16string text;
    if (bytes.empty() || convert(bytes, codePageName(codePage), text))
        return text;
    if (codePage != kWindowsLatin && convert(bytes, codePageName(kWindowsLatin), text))
        return text;
    text.clear();
    for (char byte : bytes)
        text.push_back(static_cast<unsigned char>(byte));  // CP1252 leaves five bytes undefined
    return text;
}

}  // namespace kx::workbook::detail
