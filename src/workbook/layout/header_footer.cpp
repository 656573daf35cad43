#include "workbook/layout/header_footer.h"

#include <algorithm>
#include <cctype>

namespace kx::workbook {
namespace {

class HeaderParser {
public:
    explicit HeaderParser(std::string_view text) : text_(text) {}

    HeaderSections parse()
    {
        while (position_ < text_.size()) {
            const char c = text_[position_++];
            if (c == '&' && position_ < text_.size())
                code(text_[position_++]);
            else
                literal(std::string(1, c));
        }
        return sections_;
    }

private:
    void code(char letter)
    {
        switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'L': section_ = LeftSection; break;
        case 'C': section_ = CenterSection; break;
        case 'R': section_ = RightSection; break;
        case 'P': field(HeaderField::PageNumber); pageOffset(); break;
        case 'N': field(HeaderField::PageCount); break;
        case 'D': field(HeaderField::Date); break;
        case 'T': field(HeaderField::Time); break;
        case 'F': field(HeaderField::FileName); break;
        case 'A': field(HeaderField::SheetName); break;
        case 'B': style_.bold = !style_.bold; break;
        case 'I': style_.italic = !style_.italic; break;
        case 'U': style_.underline = !style_.underline; break;
        case 'E': style_.doubleUnderline = !style_.doubleUnderline; break;
        case 'S': style_.strikeout = !style_.strikeout; break;
        case 'X': style_.superscript = !style_.superscript; break;
        case 'Y': style_.subscript = !style_.subscript; break;
        case '&': literal("&"); break;
        case '"': font(); break;
        default:
            if (std::isdigit(static_cast<unsigned char>(letter)))
                fontSize(letter);
            // Other codes (pictures, file paths) print nothing.
        }
    }

    void literal(const std::string& text)
    {
        auto& runs = sections_[section_];
        if (!runs.empty() && runs.back().field == HeaderField::None && runs.back().style == style_)
            runs.back().text += text;
        else
            runs.push_back({text, HeaderField::None, 0, style_});
    }

    void field(HeaderField kind) { sections_[section_].push_back({{}, kind, 0, style_}); }

    // &P+3 and &P-1 shift the page number.
    void pageOffset()
    {
        if (position_ + 1 >= text_.size() || (text_[position_] != '+' && text_[position_] != '-') ||
            !std::isdigit(static_cast<unsigned char>(text_[position_ + 1])))
            return;
        const int sign = text_[position_++] == '-' ? -1 : 1;
        int offset = 0;
        while (position_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[position_])) && offset < 100000)
            offset = offset * 10 + (text_[position_++] - '0');
        sections_[section_].back().pageOffset = sign * offset;
    }

    // &"Name,Style": a name of "-" keeps the current font; the style sets bold and italic.
    void font()
    {
        const size_t close = text_.find('"', position_);
        const std::string_view fontCode = text_.substr(position_, close == std::string_view::npos ? close : close - position_);
        position_ = close == std::string_view::npos ? text_.size() : close + 1;
        const size_t comma = fontCode.find(',');
        const std::string_view name = fontCode.substr(0, comma);
        if (!name.empty() && name != "-")
            style_.fontName = std::string(name);
        if (comma == std::string_view::npos)
            return;
        std::string styleName(fontCode.substr(comma + 1));
        for (char& c : styleName)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        style_.bold = styleName.find("bold") != std::string::npos;
        style_.italic = styleName.find("italic") != std::string::npos || styleName.find("oblique") != std::string::npos;
    }

    void fontSize(char firstDigit)
    {
        int size = firstDigit - '0';
        while (position_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[position_])) && size < 1000)
            size = size * 10 + (text_[position_++] - '0');
        if (size > 0)
            style_.size = std::min(size, 409);
    }

    std::string_view text_;
    size_t position_ = 0;
    HeaderSection section_ = CenterSection;
    HeaderStyle style_;
    HeaderSections sections_;
};

}  // namespace

HeaderSections parseHeaderFooter(std::string_view text)
{
    return HeaderParser(text).parse();
}

std::string fieldText(const HeaderRun& run, const HeaderValues& values)
{
    switch (run.field) {
    case HeaderField::None: return run.text;
    case HeaderField::PageNumber: return std::to_string(values.page + run.pageOffset);
    case HeaderField::PageCount: return std::to_string(values.pages);
    case HeaderField::Date: return values.date;
    case HeaderField::Time: return values.time;
    case HeaderField::FileName: return values.fileName;
    case HeaderField::SheetName: return values.sheetName;
    }
    return {};
}

}  // namespace kx::workbook
