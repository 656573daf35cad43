#include "workbook/model/unicode.h"

#include <glib.h>

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

}  // namespace kx::workbook::detail
