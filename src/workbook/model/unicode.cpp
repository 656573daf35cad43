#include "workbook/model/unicode.h"

#include <glib.h>

#include <algorithm>

namespace kx::workbook::detail {
namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf8(gunichar code, std::string& out)
{
    char bytes[6];
    out.append(bytes, static_cast<size_t>(g_unichar_to_utf8(code, bytes)));
}

}  // namespace

// glib's g_utf16_to_utf8 stops at a NUL unit and refuses unpaired surrogates, where the text of a
// cell must come through whole; its encoder of single characters does the rest.
std::string utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendUtf8(0x10000 + ((static_cast<gunichar>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00), out);
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(0xFFFD, out);  // an unpaired half of a pair cannot be shown
        } else {
            appendUtf8(unit, out);
        }
    }
    return out;
}

size_t utf8OffsetOfUtf16(const std::string& text, uint32_t utf16Units)
{
    size_t offset = 0;
    uint32_t units = 0;
    while (offset < text.size() && units < utf16Units) {
        const auto lead = static_cast<unsigned char>(text[offset]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        units += length == 4 ? 2 : 1;
        offset = std::min(offset + length, text.size());
    }
    return offset;
}

}  // namespace kx::workbook::detail
