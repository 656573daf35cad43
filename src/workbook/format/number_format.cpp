#include "workbook/format/number_format.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>

#include "workbook/format/number_format_code.h"
#include "workbook/format/number_format_general.h"
#include "workbook/format/number_format_render.h"

namespace kx::workbook {
namespace {

constexpr int maxCellChars = 255;

// What the program shows for a value it cannot show in a format: a cell full of '#'.
FormattedValue unshowable(int width)
{
    return {.text = std::string(static_cast<size_t>(width), '#')};
}

// Past this many format codes the parsed ones are forgotten, so that a workbook of countless
// codes does not keep them all.
constexpr size_t maximumKeptCodes = 256;

struct CodeHash {
    using is_transparent = void;
    size_t operator()(std::string_view code) const { return std::hash<std::string_view>()(code); }
};

// A sheet's cells take turns among a few formats (a row of a date, a count and an amount):
// each code is parsed once, not at every change of format from one cell to the next.
const std::vector<Section>& parsed(std::string_view code)
{
    thread_local std::unordered_map<std::string, std::vector<Section>, CodeHash, std::equal_to<>> kept;
    if (auto found = kept.find(code); found != kept.end())
        return found->second;
    if (kept.size() >= maximumKeptCodes)
        kept.clear();
    return kept.emplace(std::string(code), parseFormatCode(code)).first->second;
}

// The sections that numbers use: up to three, without a trailing text section.
std::span<const Section> numberSections(const std::vector<Section>& sections)
{
    if (sections.size() >= 4)
        return std::span(sections).first(3);
    if (sections.back().has(TokenKind::TextValue))
        return std::span(sections).first(sections.size() - 1);
    return sections;
}

struct Choice {
    const Section* section = nullptr;  // none: the value has no section to show it
    bool withSign = true;
};

Choice chooseByCondition(std::span<const Section> sections, double value)
{
    const Section& first = sections[0];
    if (first.condition && first.condition->holds(value))
        return {&first, true};
    if (sections.size() < 2)
        return {};
    const Section& second = sections[1];
    if (second.condition && second.condition->holds(value))
        return {&second, false};
    if (first.condition && second.condition)
        return sections.size() > 2 ? Choice{&sections[2], true} : Choice{};
    return first.condition ? Choice{&second, false} : Choice{&first, true};
}

// Without conditions: positive;negative;zero. With conditions, the first and second sections
// take the values that meet theirs. Either way the second section shows no sign of its own.
Choice chooseSection(std::span<const Section> sections, double value)
{
    const bool conditional = sections[0].condition || (sections.size() > 1 && sections[1].condition);
    if (conditional)
        return chooseByCondition(sections, value);
    if (sections.size() == 1 || (value > 0) || (value == 0 && sections.size() == 2))
        return {&sections[0], true};
    if (value < 0)
        return {&sections[1], false};
    return {&sections[2], true};
}

}  // namespace

FormattedValue formatNumber(double value, std::string_view formatCode, bool dateSystem1904, int generalMaxChars)
{
    // Widths from the caller's layout arithmetic may be anything; no cell is wider than this.
    generalMaxChars = std::clamp(generalMaxChars, 1, maxCellChars);
    if (!std::isfinite(value))
        return {.text = "#NUM!"};
    const std::span<const Section> sections = numberSections(parsed(formatCode));
    if (sections.empty() || formatCode.empty())
        return {.text = formatGeneral(value, generalMaxChars)};
    const Choice choice = chooseSection(sections, value);
    if (!choice.section)
        return unshowable(generalMaxChars);
    const Section& section = *choice.section;
    FormattedValue out{.color = section.color};
    if (section.isDate()) {
        out.isDateOrTime = true;
        if (!renderDateTime(section, value, dateSystem1904, out))
            return unshowable(generalMaxChars);
    } else {
        renderNumber(section, std::fabs(value), value < 0 && choice.withSign, generalMaxChars, out);
    }
    return out;
}

FormattedValue formatText(std::string_view text, std::string_view formatCode)
{
    const std::vector<Section>& sections = parsed(formatCode);
    const bool hasTextSection = sections.size() >= 4 || sections.back().has(TokenKind::TextValue);
    if (!hasTextSection)
        return {.text = std::string(text)};
    const Section& section = sections.size() >= 4 ? sections[3] : sections.back();
    FormattedValue out{.color = section.color};
    renderText(section, text, out);
    return out;
}

bool isDateFormat(std::string_view formatCode)
{
    const std::span<const Section> sections = numberSections(parsed(formatCode));
    return std::any_of(sections.begin(), sections.end(), [](const Section& s) { return s.isDate(); });
}

}  // namespace kx::workbook
