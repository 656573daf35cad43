#include "workbook/conditions/condition_formula.h"

#include <glib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <string>

#include "workbook/conditions/condition_areas.h"
#include "workbook/conditions/condition_value.h"
#include "workbook/format/number_format_calendar.h"
#include "workbook/model/byte_reader.h"
#include "workbook/model/formula_tokens.h"
#include "workbook/model/unicode.h"

namespace kx::workbook::detail {

namespace {

constexpr size_t kMaximumDepth = 64;

namespace fn = formula_function;

using Value = ConditionValue;

// As arithmetic takes it: an empty cell as 0, TRUE as 1, a text that is no number as an error.
std::optional<double> numberOf(const Value& value)
{
    switch (value.kind) {
    case Value::Kind::Empty: return 0.0;
    case Value::Kind::Number:
    case Value::Kind::Boolean: return value.number;
    case Value::Kind::Text: {
        char* end = nullptr;
        const double parsed = std::strtod(value.text.c_str(), &end);
        if (value.text.empty() || *end != '\0' || !std::isfinite(parsed))
            return std::nullopt;
        return parsed;
    }
    case Value::Kind::Error: return std::nullopt;
    }
    return std::nullopt;
}

// A value as a text function reads it.
std::string textOf(const Value& value)
{
    if (value.kind == Value::Kind::Text)
        return value.text;
    if (value.kind == Value::Kind::Boolean)
        return value.number != 0 ? "TRUE" : "FALSE";
    if (value.kind == Value::Kind::Empty)
        return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value.number);
    return buffer;
}

// Today's date in the workbook's date system, as the printed headers and footers have it.
int64_t todaySerial(bool dateSystem1904)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // Days from 1 March of year 0, so that leap days fall at the end of a year.
    const int64_t year = local.tm_year + 1900 - (local.tm_mon < 2 ? 1 : 0);
    const int64_t month = (local.tm_mon + 10) % 12;
    const int64_t days = 365 * year + year / 4 - year / 100 + year / 400 + (153 * month + 2) / 5 + local.tm_mday - 1;
    constexpr int64_t march1Year0To1899December30 = 693899, march1Year0To1904January1 = 695361;
    return days - (dateSystem1904 ? march1Year0To1904January1 : march1Year0To1899December30);
}

std::optional<bool> truth(const Value& value)
{
    if (value.kind == Value::Kind::Text || value.kind == Value::Kind::Error)
        return std::nullopt;
    return numberOf(value).value_or(0) != 0;
}

// What the stack holds: a value, or an area of cells for the functions that take one.
struct Operand {
    Value value;
    std::optional<CellRange> area;
};

class Evaluator {
public:
    Evaluator(const std::vector<uint8_t>& formula, const Workbook& workbook, const Sheet& sheet, CellRef at,
              AreaSummaries& areas)
        : tokens_(asBytes(formula)), workbook_(workbook), sheet_(sheet), at_(at), areas_(areas)
    {
    }

    // Tokens cut short are damaged like unknown ones: the formula has no value.
    std::optional<Value> run()
    {
        try {
            while (!tokens_.atEnd())
                if (!step())
                    return std::nullopt;
        } catch (const TruncatedData&) {
            return std::nullopt;
        }
        if (stack_.size() != 1 || stack_.back().area)
            return std::nullopt;
        return stack_.back().value;
    }

private:
    bool push(Value value, std::optional<CellRange> area = std::nullopt)
    {
        if (stack_.size() >= kMaximumDepth)
            return false;
        stack_.push_back({std::move(value), area});
        return true;
    }
    // An area where a value is wanted is an error.
    std::optional<Value> pop()
    {
        if (stack_.empty())
            return std::nullopt;
        Operand operand = std::move(stack_.back());
        stack_.pop_back();
        return operand.area ? errorValue() : operand.value;
    }

    Value cellValue(uint32_t row, uint32_t column) const
    {
        return conditionValueOf(workbook_, row < maxRows && column < maxColumns ? sheet_.cell(row, static_cast<uint16_t>(column)) : nullptr);
    }

    bool step()
    {
        using namespace formula_token;
        const uint8_t token = tokens_.u8();
        switch (baseToken(token)) {
        case Add: case Subtract: case Multiply: case Divide: case Power: case Concatenate:
        case Less: case LessOrEqual: case Equal: case GreaterOrEqual: case Greater: case NotEqual: return binary(token);
        case UnaryPlus: return true;
        case UnaryMinus: return unary([](double v) { return -v; });
        case Percent: return unary([](double v) { return v / 100; });
        case Parentheses: return true;
        case String: return text();
        case Attribute: return attribute();
        case Boolean: return push(booleanValue(tokens_.u8() != 0));
        case Integer: return push(numberValue(tokens_.u16le()));
        case Number: return push(numberValue(tokens_.f64le()));
        case Function: return function(tokens_.u16le(), std::nullopt);
        case FunctionWithCount: {
            const uint8_t count = tokens_.u8() & 0x7F;
            return function(tokens_.u16le() & 0x7FFF, count);
        }
        case Reference: return reference(false);
        case Area: return area(false);
        case RelativeReference: return reference(true);
        case RelativeArea: return area(true);
        default: return false;
        }
    }

    bool text()
    {
        const size_t count = tokens_.u8();
        const bool twoBytesWide = (tokens_.u8() & 0x01) != 0;
        ByteReader stored(tokens_.bytes(count * (twoBytesWide ? 2 : 1)));
        std::u16string characters;
        for (size_t i = 0; i < count; ++i)
            characters += static_cast<char16_t>(twoBytesWide ? stored.u16le() : stored.u8());
        return push({Value::Kind::Text, 0, utf16ToUtf8(characters)});
    }

    // Spacing and the jumps of IF and CHOOSE change nothing evaluated on the stack; a sum of one
    // argument is stored as an attribute too.
    bool attribute()
    {
        const uint8_t kind = tokens_.u8();
        const uint16_t data = tokens_.u16le();
        if (kind & 0x04)  // a jump table follows
            tokens_.skip(2 * (static_cast<size_t>(data) + 1));
        if (kind & 0x10)  // SUM of one argument, an area as often as not
            return function(formula_function::Sum, 1);
        return true;
    }

    // A cell by its row and column, or by offsets from the cell being formatted.
    bool reference(bool offsets)
    {
        const uint16_t row = tokens_.u16le(), column = tokens_.u16le();
        int64_t r = row, c = column & 0xFF;
        if (offsets) {
            if (column & 0x8000)
                r = at_.row + static_cast<int16_t>(row);
            if (column & 0x4000)
                c = at_.column + static_cast<int8_t>(column & 0xFF);
        }
        if (r < 0 || c < 0)
            return push(errorValue());
        return push(cellValue(static_cast<uint32_t>(r), static_cast<uint32_t>(c)));
    }

    // A row or column, as stored or counted from the cell being formatted; nothing off the sheet.
    std::optional<uint32_t> place(uint16_t stored, bool counted, uint32_t from, bool isRow) const
    {
        const int64_t value = !counted ? (isRow ? stored : stored & 0xFF)
                                       : from + (isRow ? static_cast<int16_t>(stored) : static_cast<int8_t>(stored & 0xFF));
        return value < 0 || value > (isRow ? kLastRow : kLastColumn) ? std::nullopt : std::optional<uint32_t>(static_cast<uint32_t>(value));
    }

    bool area(bool offsets)
    {
        const uint16_t firstRow = tokens_.u16le(), lastRow = tokens_.u16le();
        const uint16_t firstColumn = tokens_.u16le(), lastColumn = tokens_.u16le();
        const auto top = place(firstRow, offsets && (firstColumn & 0x8000), at_.row, true);
        const auto bottom = place(lastRow, offsets && (lastColumn & 0x8000), at_.row, true);
        const auto left = place(firstColumn, offsets && (firstColumn & 0x4000), at_.column, false);
        const auto right = place(lastColumn, offsets && (lastColumn & 0x4000), at_.column, false);
        if (!top || !bottom || !left || !right)
            return push(errorValue());
        return push({}, CellRange{std::min(*top, *bottom), std::max(*top, *bottom),
                                  static_cast<uint16_t>(std::min(*left, *right)), static_cast<uint16_t>(std::max(*left, *right))});
    }

    // COUNT, SUM, AVERAGE, MIN and MAX of one area, and COUNTIF; nothing when it cannot be told.
    std::optional<Value> overArea(uint16_t id, const std::vector<Operand>& args)
    {
        using Aggregate = AreaSummaries::Aggregate;
        if (id == fn::CountIf) {
            if (args.size() != 2 || !args[0].area || args[1].area)
                return std::nullopt;
            const auto count = areas_.countIf(*args[0].area, args[1].value);
            return count ? std::optional<Value>(numberValue(*count)) : std::nullopt;
        }
        const Aggregate kind = id == fn::Count ? Aggregate::Count : id == fn::Sum ? Aggregate::Sum
                             : id == fn::Average ? Aggregate::Average : id == fn::Min ? Aggregate::Minimum
                             : Aggregate::Maximum;
        const auto result = areas_.aggregate(kind, *args[0].area);
        return result ? numberValue(*result) : errorValue();
    }

    template <typename Operation>
    bool unary(Operation operation)
    {
        const auto value = pop();
        if (!value)
            return false;
        const auto n = numberOf(*value);
        return push(n ? numberValue(operation(*n)) : errorValue());
    }

    bool binary(uint8_t token)
    {
        const auto right = pop(), left = pop();
        if (!right || !left)
            return false;
        if (left->kind == Value::Kind::Error || right->kind == Value::Kind::Error)
            return push(errorValue());
        if (token >= formula_token::Less) {
            const int order = compareConditionValues(*left, *right);
            const bool results[] = {order < 0, order <= 0, order == 0, order >= 0, order > 0, order != 0};
            return push(booleanValue(results[token - formula_token::Less]));
        }
        if (token == formula_token::Concatenate) {
            return push({Value::Kind::Text, 0, textOf(*left) + textOf(*right)});
        }
        const auto a = numberOf(*left), b = numberOf(*right);
        if (!a || !b)
            return push(errorValue());
        switch (token) {
        case formula_token::Add: return push(numberValue(*a + *b));
        case formula_token::Subtract: return push(numberValue(*a - *b));
        case formula_token::Multiply: return push(numberValue(*a * *b));
        case formula_token::Divide: return push(*b == 0 ? errorValue() : numberValue(*a / *b));
        default: return push(numberValue(std::pow(*a, *b)));
        }
    }

    bool function(uint16_t id, std::optional<uint8_t> count)
    {
        const auto arguments = [&](size_t n) -> std::optional<std::vector<Operand>> {
            if (stack_.size() < n)
                return std::nullopt;
            std::vector<Operand> taken(stack_.end() - static_cast<long>(n), stack_.end());
            stack_.resize(stack_.size() - n);
            return taken;
        };
        // Functions of a fixed count of arguments, and those that take a count.
        struct Known {
            uint16_t id;
            uint8_t fixed;
        };
        static constexpr Known known[] = {
            {fn::Count, 1}, {fn::If, 3},       {fn::IsError, 1}, {fn::Sum, 1},    {fn::Average, 1}, {fn::Min, 1},
            {fn::Max, 1},   {fn::Row, 0},      {fn::Column, 0},  {fn::Abs, 1},    {fn::Int, 1},     {fn::Round, 2},
            {fn::Mid, 3},   {fn::Len, 1},      {fn::And, 1},     {fn::Or, 1},     {fn::Not, 1},     {fn::Mod, 2},
            {fn::Day, 1},   {fn::Month, 1},    {fn::Year, 1},    {fn::Weekday, 1}, {fn::Search, 2}, {fn::Lower, 1},
            {fn::Upper, 1}, {fn::Left, 1},     {fn::Right, 1},   {fn::Trim, 1},   {fn::Find, 2},    {fn::IsErr, 1},
            {fn::IsText, 1}, {fn::IsNumber, 1}, {fn::IsBlank, 1}, {fn::Today, 0}, {fn::CountIf, 2}};
        const auto found = std::find_if(std::begin(known), std::end(known), [&](const Known& k) { return k.id == id; });
        if (found == std::end(known))
            return false;
        const auto args = arguments(count.value_or(found->fixed));
        if (!args)
            return false;
        const bool aggregates = id == fn::Count || (id >= fn::Sum && id <= fn::Max);
        if (id == fn::CountIf || (aggregates && args->size() == 1 && args->front().area)) {
            const auto result = overArea(id, *args);
            return result && push(*result);
        }
        std::vector<Value> values;
        for (const Operand& arg : *args)
            values.push_back(arg.area ? errorValue() : arg.value);
        return push(apply(id, values));
    }

    Value apply(uint16_t id, const std::vector<Value>& args) const
    {
        const auto numberAt = [&](size_t i) { return i < args.size() ? numberOf(args[i]) : std::nullopt; };
        const bool takesArguments = (id > fn::Column && id != fn::Today) || id == fn::If || id == fn::IsError;  // all but ROW, COLUMN, TODAY and the aggregates
        if (takesArguments && args.empty())
            return errorValue();
        switch (id) {
        case fn::If: {
            if (args.empty())
                return errorValue();
            const auto condition = truth(args[0]);
            if (!condition)
                return errorValue();
            return *condition ? (args.size() > 1 ? args[1] : booleanValue(true)) : (args.size() > 2 ? args[2] : booleanValue(false));
        }
        case fn::Count:
        case fn::Sum:
        case fn::Average:
        case fn::Min:
        case fn::Max: {
            std::vector<double> values;
            for (size_t i = 0; i < args.size(); ++i) {
                const auto n = numberAt(i);
                if (!n)
                    return errorValue();
                values.push_back(*n);
            }
            if (id == fn::Count)
                return numberValue(static_cast<double>(values.size()));
            if (values.empty())
                return id == fn::Average ? errorValue() : numberValue(0);
            const double sum = std::accumulate(values.begin(), values.end(), 0.0);
            if (id == fn::Sum || id == fn::Average)
                return numberValue(id == fn::Sum ? sum : sum / static_cast<double>(values.size()));
            return numberValue(id == fn::Min ? *std::min_element(values.begin(), values.end()) : *std::max_element(values.begin(), values.end()));
        }
        case fn::Row: return args.empty() ? numberValue(at_.row + 1.0) : errorValue();     // ROW() of the cell itself
        case fn::Column: return args.empty() ? numberValue(at_.column + 1.0) : errorValue();  // COLUMN()
        case fn::Abs: return numberAt(0) ? numberValue(std::abs(*numberAt(0))) : errorValue();
        case fn::Int: return numberAt(0) ? numberValue(std::floor(*numberAt(0))) : errorValue();
        case fn::Round: {  // ROUND, halves away from zero
            const auto value = numberAt(0), digits = numberAt(1);
            if (!value || !digits || std::abs(*digits) > 15)
                return errorValue();
            const double scale = std::pow(10.0, std::trunc(*digits));
            return numberValue(std::round(*value * scale) / scale);
        }
        case fn::Mid:
        case fn::Len:
        case fn::Lower:
        case fn::Upper:
        case fn::Left:
        case fn::Right:
        case fn::Trim:
            return textFunction(id, args);
        case fn::And:
        case fn::Or: {
            bool all = true, any = false;
            for (const Value& arg : args) {
                const auto t = truth(arg);
                if (!t)
                    return errorValue();
                all = all && *t;
                any = any || *t;
            }
            return booleanValue(id == fn::And ? all : any);
        }
        case fn::Not: {
            const auto t = truth(args[0]);
            return t ? booleanValue(!*t) : errorValue();
        }
        case fn::Mod: {  // MOD, with the sign of the divisor
            const auto a = numberAt(0), b = numberAt(1);
            if (!a || !b || *b == 0)
                return errorValue();
            return numberValue(*a - *b * std::floor(*a / *b));
        }
        case fn::IsError: return booleanValue(args[0].kind == Value::Kind::Error);
        case fn::IsErr: return booleanValue(args[0].kind == Value::Kind::Error);  // ISERR: no #N/A is ever made here
        case fn::Day:
        case fn::Month:
        case fn::Year:
        case fn::Weekday: {  // WEEKDAY, Sunday 1
            const auto serial = numberAt(0);
            if (!serial || *serial < 0 || *serial > 2958465)
                return errorValue();
            const CalendarDate date = calendarDate(static_cast<int64_t>(*serial), workbook_.dateSystem1904);
            return numberValue(id == fn::Day ? date.day : id == fn::Month ? date.month : id == fn::Year ? date.year : date.weekday + 1);
        }
        case fn::Search:  // SEARCH, without regard to case
        case fn::Find: {
            if (args.size() < 2 || args.size() > 3 || args[0].kind == Value::Kind::Error || args[1].kind == Value::Kind::Error)
                return errorValue();
            const auto start = args.size() == 3 ? numberAt(2) : std::optional<double>(1);
            const std::string wanted = id == fn::Search ? lowerCase(textOf(args[0])) : textOf(args[0]);
            const std::string within = id == fn::Search ? lowerCase(textOf(args[1])) : textOf(args[1]);
            if (!start || *start < 1 || *start > static_cast<double>(within.size()) + 1)
                return errorValue();
            const size_t found = within.find(wanted, static_cast<size_t>(*start) - 1);
            return found == std::string::npos ? errorValue() : numberValue(static_cast<double>(found) + 1);
        }
        case fn::Today: return numberValue(static_cast<double>(todaySerial(workbook_.dateSystem1904)));
        case fn::IsText: return booleanValue(args[0].kind == Value::Kind::Text);
        case fn::IsNumber: return booleanValue(args[0].kind == Value::Kind::Number);
        case fn::IsBlank: return booleanValue(args[0].kind == Value::Kind::Empty);
        default: return errorValue();
        }
    }

    // Functions of a text, counted in characters, not bytes.
    static Value textFunction(uint16_t id, const std::vector<Value>& args)
    {
        if (std::any_of(args.begin(), args.end(), [](const Value& v) { return v.kind == Value::Kind::Error; }))
            return errorValue();
        const std::string text = textOf(args[0]);
        const std::vector<size_t> starts = characterStarts(text);  // and the end
        const size_t length = starts.size() - 1;
        const auto count = [&](size_t i, double fallback) -> std::optional<size_t> {
            const auto n = i < args.size() ? numberOf(args[i]) : std::optional<double>(fallback);
            if (!n || *n < 0)
                return std::nullopt;
            return static_cast<size_t>(std::min(*n, static_cast<double>(length)));
        };
        const auto piece = [&](size_t from, size_t characters) {
            from = std::min(from, length);
            const size_t to = std::min(length, from + characters);
            return Value{Value::Kind::Text, 0, text.substr(starts[from], starts[to] - starts[from])};
        };
        switch (id) {
        case fn::Len: return numberValue(static_cast<double>(length));
        case fn::Lower:
        case fn::Upper: {
            std::string changed = text;
            std::transform(changed.begin(), changed.end(), changed.begin(), id == fn::Lower ? g_ascii_tolower : g_ascii_toupper);
            return {Value::Kind::Text, 0, changed};
        }
        case fn::Left:
        case fn::Right: {
            const auto n = count(1, 1);
            return !n ? errorValue() : piece(id == fn::Left ? 0 : length - *n, *n);
        }
        case fn::Mid: {
            const auto start = numberAt(args, 1);
            const auto n = count(2, 0);
            return !start || *start < 1 || !n ? errorValue() : piece(static_cast<size_t>(std::min(*start, 1e9)) - 1, *n);
        }
        default: {  // TRIM: no spaces at the ends, single ones between words
            std::string trimmed;
            for (const char c : text)
                if (c != ' ' || (!trimmed.empty() && trimmed.back() != ' '))
                    trimmed += c;
            if (!trimmed.empty() && trimmed.back() == ' ')
                trimmed.pop_back();
            return {Value::Kind::Text, 0, trimmed};
        }
        }
    }

    static std::optional<double> numberAt(const std::vector<Value>& args, size_t i)
    {
        return i < args.size() ? numberOf(args[i]) : std::nullopt;
    }

    // Where each character of UTF-8 text starts, and the text's end.
    static std::vector<size_t> characterStarts(const std::string& text)
    {
        std::vector<size_t> starts;
        for (size_t at = 0; at < text.size(); ++at)
            if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
                starts.push_back(at);
        starts.push_back(text.size());
        return starts;
    }

    ByteReader tokens_;
    const Workbook& workbook_;
    const Sheet& sheet_;
    CellRef at_;
    AreaSummaries& areas_;
    std::vector<Operand> stack_;
};

}  // namespace

std::optional<ConditionValue> conditionValue(const std::vector<uint8_t>& formula, const Workbook& workbook,
                                             const Sheet& sheet, CellRef at, AreaSummaries& areas)
{
    return Evaluator(formula, workbook, sheet, at, areas).run();
}

std::optional<bool> conditionHolds(const std::vector<uint8_t>& formula, const Workbook& workbook, const Sheet& sheet,
                                   CellRef at, AreaSummaries& areas)
{
    const auto result = conditionValue(formula, workbook, sheet, at, areas);
    if (!result)
        return std::nullopt;
    return truth(*result).value_or(false);
}

}  // namespace kx::workbook::detail
