#include "workbook/conditions/condition_areas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace kx::workbook::detail {

namespace {

using Value = ConditionValue;

// Equal values share a key: numbers by their bits, texts without regard to case.
std::string valueKey(const Value& value)
{
    switch (value.kind) {
    case Value::Kind::Number: {
        const double number = value.number == 0 ? 0 : value.number;  // -0 equals 0
        char bits[sizeof number];
        std::memcpy(bits, &number, sizeof number);
        return "n" + std::string(bits, sizeof bits);
    }
    case Value::Kind::Text: return "t" + lowerCase(value.text);
    case Value::Kind::Boolean: return value.number != 0 ? "b1" : "b0";
    default: return {};
    }
}

// The characters of UTF-8 text, each as its bytes.
std::vector<std::string_view> characters(std::string_view text)
{
    std::vector<std::string_view> result;
    for (size_t at = 0; at < text.size();) {
        size_t length = 1;
        while (at + length < text.size() && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
            ++length;
        result.push_back(text.substr(at, length));
        at += length;
    }
    return result;
}

// Whether the text matches the pattern, where "*" stands for any characters, "?" for one and
// "~" makes the character after it stand for itself. Walks both once, going back only to the
// last "*", so that no pattern takes longer than the text times the pattern.
bool matches(std::string_view text, std::string_view pattern)
{
    struct Part {
        enum class Kind : uint8_t { Any, One, Literal } kind;
        std::string_view literal;
    };
    std::vector<Part> parts;
    const std::vector<std::string_view> wanted = characters(pattern);
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (wanted[i] == "~" && i + 1 < wanted.size())
            parts.push_back({Part::Kind::Literal, wanted[++i]});
        else
            parts.push_back({wanted[i] == "*" ? Part::Kind::Any : wanted[i] == "?" ? Part::Kind::One : Part::Kind::Literal,
                             wanted[i]});
    }
    const std::vector<std::string_view> chars = characters(text);
    size_t t = 0, p = 0, star = parts.size(), resume = 0;
    while (t < chars.size()) {
        if (p < parts.size() && parts[p].kind == Part::Kind::Any) {
            star = p++;
            resume = t;
        } else if (p < parts.size() && (parts[p].kind == Part::Kind::One || parts[p].literal == chars[t])) {
            ++p;
            ++t;
        } else if (star < parts.size()) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < parts.size() && parts[p].kind == Part::Kind::Any)
        ++p;
    return p == parts.size();
}

// A text criteria's value: a number where it reads as one.
Value criteriaValue(const std::string& text)
{
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (!text.empty() && *end == '\0')
        return {Value::Kind::Number, number, {}};
    return {Value::Kind::Text, 0, text};
}

}  // namespace

const AreaSummaries::Summary& AreaSummaries::summary(const CellRange& area)
{
    const AreaKey key{area.firstRow, area.lastRow, area.firstColumn, area.lastColumn};
    if (const auto found = summaries_.find(key); found != summaries_.end())
        return found->second;
    Summary summary;
    forEachCellIn(sheet_, area, [&](uint32_t, const Cell& cell) {
        const Value value = conditionValueOf(workbook_, &cell);
        if (value.kind == Value::Kind::Number) {
            summary.minimum = summary.count == 0 ? value.number : std::min(summary.minimum, value.number);
            summary.maximum = summary.count == 0 ? value.number : std::max(summary.maximum, value.number);
            summary.sum += value.number;
            ++summary.count;
        }
        if (const std::string k = valueKey(value); !k.empty())
            ++summary.occurrences[k];
    });
    return summaries_.emplace(key, std::move(summary)).first->second;
}

std::optional<double> AreaSummaries::aggregate(Aggregate kind, const CellRange& area)
{
    const Summary& s = summary(area);
    if (kind == Aggregate::Count)
        return s.count;
    if (kind == Aggregate::Sum)
        return s.sum;
    if (s.count == 0)
        return std::nullopt;
    return kind == Aggregate::Average ? s.sum / s.count : kind == Aggregate::Minimum ? s.minimum : s.maximum;
}

std::optional<double> AreaSummaries::countIf(const CellRange& area, const ConditionValue& criteria)
{
    if (criteria.kind == Value::Kind::Empty || criteria.kind == Value::Kind::Error)
        return std::nullopt;
    if (criteria.kind != Value::Kind::Text) {
        const auto found = summary(area).occurrences.find(valueKey(criteria));
        return found == summary(area).occurrences.end() ? 0 : found->second;
    }
    const std::string& text = criteria.text;
    if (text.empty())
        return std::nullopt;
    static constexpr const char* operators[] = {"<=", ">=", "<>", "<", ">", "="};
    const auto op = std::find_if(std::begin(operators), std::end(operators),
                                 [&](const char* o) { return text.rfind(o, 0) == 0; });
    const std::string sign = op == std::end(operators) ? "" : *op;
    const std::string operand = text.substr(sign.size());
    // Wildcards match texts where the criteria asks for equal or unequal ones.
    const bool pattern = (sign.empty() || sign == "=" || sign == "<>") && operand.find_first_of("*?~") != std::string::npos;
    if (sign.empty() && !pattern) {
        const auto found = summary(area).occurrences.find(valueKey(criteriaValue(text)));
        return found == summary(area).occurrences.end() ? 0 : found->second;
    }
    const AreaKey key{area.firstRow, area.lastRow, area.firstColumn, area.lastColumn};
    if (const auto found = counts_.find({key, text}); found != counts_.end())
        return found->second;
    const Value wanted = criteriaValue(operand);
    const std::string loweredPattern = lowerCase(operand);
    double count = 0;
    forEachCellIn(sheet_, area, [&](uint32_t, const Cell& cell) {
        const Value value = conditionValueOf(workbook_, &cell);
        if (pattern) {
            const bool matching = value.kind == Value::Kind::Text && matches(lowerCase(value.text), loweredPattern);
            count += matching != (sign == "<>") ? 1 : 0;
            return;
        }
        // A comparison counts only values of the criteria's own kind; "<>" counts all others too.
        const bool sameKind = value.kind == wanted.kind;
        const int order = sameKind ? compareConditionValues(value, wanted) : 1;
        const bool meets = sign == "<>" ? !sameKind || order != 0
                         : !sameKind   ? false
                         : sign == "=" ? order == 0
                         : sign == "<" ? order < 0
                         : sign == ">" ? order > 0
                         : sign == "<=" ? order <= 0
                                        : order >= 0;
        count += meets ? 1 : 0;
    });
    counts_.emplace(std::make_pair(key, text), count);
    return count;
}

}  // namespace kx::workbook::detail
