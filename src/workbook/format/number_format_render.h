#pragma once
// Rendering one section of a format code; the caller has chosen the section and the sign.
#include <string>
#include <string_view>
#include <vector>

#include "workbook/format/number_format.h"
#include "workbook/format/number_format_code.h"

namespace kx::workbook {

// Appends what a token shows when the section gives it no meaning of its own: literal text
// and the fill as such, other symbols as written.
void appendAsWritten(const Token& token, FormattedValue& out);

// `magnitude` is finite and not negative; `negative` asks for a leading minus sign, kept even
// when the number rounds to zero ("-0.00"), as the spreadsheet program shows a small negative
// result. `out` has no text yet.
void renderNumber(const Section& section, double magnitude, bool negative, int generalMaxChars, FormattedValue& out);

// For a fraction section ("# ?/?", "?/8"): renders without sign and returns true. False, with
// `out` untouched, for other sections.
bool renderFraction(const Section& section, double magnitude, FormattedValue& out);

// False, with `out` untouched, when the serial is not a date or time the program can show.
bool renderDateTime(const Section& section, double serial, bool dateSystem1904, FormattedValue& out);

// The text placeholders of `section` ('@', or General in a text section) replaced by `text`.
void renderText(const Section& section, std::string_view text, FormattedValue& out);

// Digit placeholders filled right-aligned with `digits` ("" for zero): the leftmost takes any
// digits beyond the placeholders; '0' pads with zeros, '?' with spaces, '#' with nothing.
// The text of the placeholder at token index i goes to `shown[i]`.
void fillRightAligned(const std::vector<Token>& tokens, const std::vector<size_t>& placeholders,
                      const std::string& digits, bool grouping, std::vector<std::string>& shown);
// Filled left-aligned; placeholders past `significant` digits pad as above.
void fillLeftAligned(const std::vector<Token>& tokens, const std::vector<size_t>& placeholders,
                     const std::string& digits, size_t significant, std::vector<std::string>& shown);

}  // namespace kx::workbook
