#pragma once
// Page headers and footers: the text with its & codes, split into the left, centre and right
// sections and into runs of one style, with the fields filled in per page.
#include <array>
#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::workbook {

enum class HeaderField { None, PageNumber, PageCount, Date, Time, FileName, SheetName };

struct HeaderStyle {
    std::optional<std::string> fontName;  // nothing: the default header font
    std::optional<double> size;           // points
    bool bold = false, italic = false, underline = false, doubleUnderline = false;
    bool strikeout = false, superscript = false, subscript = false;
    auto operator<=>(const HeaderStyle&) const = default;
};

struct HeaderRun {
    std::string text;                  // literal text, when field is None
    HeaderField field = HeaderField::None;
    int pageOffset = 0;                // &P+n and &P-n
    HeaderStyle style;
};

enum HeaderSection { LeftSection, CenterSection, RightSection };
using HeaderSections = std::array<std::vector<HeaderRun>, 3>;

HeaderSections parseHeaderFooter(std::string_view text);

struct HeaderValues {
    int page = 1, pages = 1;
    std::string date, time, fileName, sheetName;
};

std::string fieldText(const HeaderRun& run, const HeaderValues& values);

}  // namespace kx::workbook
