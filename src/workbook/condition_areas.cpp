#include "workbook/condition_areas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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
    if (text.empty() || text.find_first_of("*?~") != std::string::npos)
        return std::nullopt;
    static constexpr const char* operators[] = {"<=", ">=", "<>", "<", ">", "="};
    const auto op = std::find_if(std::begin(operators), std::end(operators),
                                 [&](const char* o) { return text.rfind(o, 0) == 0; });
    if (op == std::end(operators)) {
        const auto found = summary(area).occurrences.find(valueKey(criteriaValue(text)));
        return found == summary(area).occurrences.end() ? 0 : found->second;
    }
    const AreaKey key{area.firstRow, area.lastRow, area.firstColumn, area.lastColumn};
    if (const auto found = counts_.find({key, text}); found != counts_.end())
        return found->second;
    const std::string sign = *op;
    const Value wanted = criteriaValue(text.substr(sign.size()));
    double count = 0;
    forEachCellIn(sheet_, area, [&](uint32_t, const Cell& cell) {
        const Value value = conditionValueOf(workbook_, &cell);
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
