#include "workbook/conditions/condition_formula.h"

#include <glib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <numeric>
#include <string>

#include "workbook/conditions/condition_areas.h"
#include "workbook/format/number_format_calendar.h"
#include "workbook/model/unicode.h"

namespace kx::workbook::detail {

namespace {

constexpr size_t kMaximumDepth = 64;

using Value = ConditionValue;

Value number(double value) { return std::isfinite(value) ? Value{Value::Kind::Number, value, {}} : Value{Value::Kind::Error, 0, {}}; }
Value boolean(bool value) { return {Value::Kind::Boolean, value ? 1.0 : 0.0, {}}; }
Value error() { return {Value::Kind::Error, 0, {}}; }

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
        : formula_(formula), workbook_(workbook), sheet_(sheet), at_(at), areas_(areas)
    {
    }

    std::optional<Value> run()
    {
        while (position_ < formula_.size())
            if (!step())
                return std::nullopt;
        if (stack_.size() != 1 || stack_.back().area)
            return std::nullopt;
        return stack_.back().value;
    }

private:
    bool has(size_t bytes) const { return position_ + bytes <= formula_.size(); }
    uint8_t byte() { return formula_[position_++]; }
    uint16_t word()
    {
        const uint16_t value = static_cast<uint16_t>(formula_[position_] | formula_[position_ + 1] << 8);
        position_ += 2;
        return value;
    }
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
        return operand.area ? error() : operand.value;
    }

    Value cellValue(uint32_t row, uint32_t column) const
    {
        return conditionValueOf(workbook_, row < maxRows && column < maxColumns ? sheet_.cell(row, static_cast<uint16_t>(column)) : nullptr);
    }

    bool step()
    {
        const uint8_t token = byte();
        const uint8_t base = token >= 0x20 ? static_cast<uint8_t>((token & 0x1F) | 0x20) : token;
        switch (base) {
        case 0x03: case 0x04: case 0x05: case 0x06: case 0x07: case 0x08:
        case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x0E: return binary(token);
        case 0x12: return true;  // unary plus
        case 0x13: return unary([](double v) { return -v; });
        case 0x14: return unary([](double v) { return v / 100; });
        case 0x15: return true;  // parentheses
        case 0x17: return text();
        case 0x19: return attribute();
        case 0x1D: return has(1) && push(boolean(byte() != 0));
        case 0x1E: return has(2) && push(number(word()));
        case 0x1F: return constantNumber();
        case 0x21: return has(2) && function(word(), std::nullopt);
        case 0x22: {
            if (!has(3))
                return false;
            const uint8_t count = byte() & 0x7F;
            return function(word() & 0x7FFF, count);
        }
        case 0x24: return reference(false);
        case 0x25: return area(false);
        case 0x2C: return reference(true);
        case 0x2D: return area(true);
        default: return false;
        }
    }

    bool constantNumber()
    {
        if (!has(8))
            return false;
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = bits << 8 | formula_[position_ + static_cast<size_t>(i)];
        position_ += 8;
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return push(number(value));
    }

    bool text()
    {
        if (!has(2))
            return false;
        const size_t count = byte(), width = (byte() & 0x01) ? 2 : 1;
        if (!has(count * width))
            return false;
        std::u16string characters;
        for (size_t i = 0; i < count; ++i, position_ += width)
            characters += static_cast<char16_t>(width == 2 ? formula_[position_] | formula_[position_ + 1] << 8 : formula_[position_]);
        return push({Value::Kind::Text, 0, utf16ToUtf8(characters)});
    }

    // Spacing and the jumps of IF and CHOOSE change nothing evaluated on the stack; a sum of one
    // argument is stored as an attribute too.
    bool attribute()
    {
        if (!has(3))
            return false;
        const uint8_t kind = byte();
        const uint16_t data = word();
        if (kind & 0x04) {  // a jump table follows
            if (!has(2 * (static_cast<size_t>(data) + 1)))
                return false;
            position_ += 2 * (static_cast<size_t>(data) + 1);
        }
        if (kind & 0x10)  // SUM of one argument, an area as often as not
            return function(4, 1);
        return true;
    }

    // A cell by its row and column, or by offsets from the cell being formatted.
    bool reference(bool offsets)
    {
        if (!has(4))
            return false;
        const uint16_t row = word(), column = word();
        int64_t r = row, c = column & 0xFF;
        if (offsets) {
            if (column & 0x8000)
                r = at_.row + static_cast<int16_t>(row);
            if (column & 0x4000)
                c = at_.column + static_cast<int8_t>(column & 0xFF);
        }
        if (r < 0 || c < 0)
            return push(error());
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
        if (!has(8))
            return false;
        const uint16_t firstRow = word(), lastRow = word(), firstColumn = word(), lastColumn = word();
        const auto top = place(firstRow, offsets && (firstColumn & 0x8000), at_.row, true);
        const auto bottom = place(lastRow, offsets && (lastColumn & 0x8000), at_.row, true);
        const auto left = place(firstColumn, offsets && (firstColumn & 0x4000), at_.column, false);
        const auto right = place(lastColumn, offsets && (lastColumn & 0x4000), at_.column, false);
        if (!top || !bottom || !left || !right)
            return push(error());
        return push({}, CellRange{std::min(*top, *bottom), std::max(*top, *bottom),
                                  static_cast<uint16_t>(std::min(*left, *right)), static_cast<uint16_t>(std::max(*left, *right))});
    }

    // COUNT, SUM, AVERAGE, MIN and MAX of one area, and COUNTIF; nothing when it cannot be told.
    std::optional<Value> overArea(uint16_t id, const std::vector<Operand>& args)
    {
        using Aggregate = AreaSummaries::Aggregate;
        if (id == 346) {
            if (args.size() != 2 || !args[0].area || args[1].area)
                return std::nullopt;
            const auto count = areas_.countIf(*args[0].area, args[1].value);
            return count ? std::optional<Value>(number(*count)) : std::nullopt;
        }
        const Aggregate kind = id == 0 ? Aggregate::Count : id == 4 ? Aggregate::Sum : id == 5 ? Aggregate::Average
                             : id == 6 ? Aggregate::Minimum : Aggregate::Maximum;
        const auto result = areas_.aggregate(kind, *args[0].area);
        return result ? number(*result) : error();
    }

    template <typename Operation>
    bool unary(Operation operation)
    {
        const auto value = pop();
        if (!value)
            return false;
        const auto n = numberOf(*value);
        return push(n ? number(operation(*n)) : error());
    }

    bool binary(uint8_t token)
    {
        const auto right = pop(), left = pop();
        if (!right || !left)
            return false;
        if (left->kind == Value::Kind::Error || right->kind == Value::Kind::Error)
            return push(error());
        if (token >= 0x09) {
            const int order = compareConditionValues(*left, *right);
            const bool results[] = {order < 0, order <= 0, order == 0, order >= 0, order > 0, order != 0};
            return push(boolean(results[token - 0x09]));
        }
        if (token == 0x08) {
            return push({Value::Kind::Text, 0, textOf(*left) + textOf(*right)});
        }
        const auto a = numberOf(*left), b = numberOf(*right);
        if (!a || !b)
            return push(error());
        switch (token) {
        case 0x03: return push(number(*a + *b));
        case 0x04: return push(number(*a - *b));
        case 0x05: return push(number(*a * *b));
        case 0x06: return push(*b == 0 ? error() : number(*a / *b));
        default: return push(number(std::pow(*a, *b)));
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
        static constexpr Known known[] = {{0, 1},   {1, 3},   {3, 1},   {4, 1},   {5, 1},   {6, 1},   {7, 1},
                                          {8, 0},   {9, 0},   {24, 1},  {25, 1},  {27, 2},  {31, 3},  {32, 1},
                                          {36, 1},  {37, 1},  {38, 1},  {39, 2},  {67, 1},  {68, 1},  {69, 1},
                                          {70, 1},  {82, 2},  {112, 1}, {113, 1}, {115, 1}, {116, 1}, {118, 1},
                                          {124, 2}, {126, 1}, {127, 1}, {128, 1}, {129, 1}, {221, 0}, {346, 2}};
        const auto found = std::find_if(std::begin(known), std::end(known), [&](const Known& k) { return k.id == id; });
        if (found == std::end(known))
            return false;
        const auto args = arguments(count.value_or(found->fixed));
        if (!args)
            return false;
        const bool aggregates = id == 0 || (id >= 4 && id <= 7);
        if (id == 346 || (aggregates && args->size() == 1 && args->front().area)) {
            const auto result = overArea(id, *args);
            return result && push(*result);
        }
        std::vector<Value> values;
        for (const Operand& arg : *args)
            values.push_back(arg.area ? error() : arg.value);
        return push(apply(id, values));
    }

    Value apply(uint16_t id, const std::vector<Value>& args) const
    {
        const auto numberAt = [&](size_t i) { return i < args.size() ? numberOf(args[i]) : std::nullopt; };
        const bool takesArguments = (id > 9 && id != 221) || id == 1 || id == 3;  // all but ROW, COLUMN, TODAY and the aggregates
        if (takesArguments && args.empty())
            return error();
        switch (id) {
        case 1: {  // IF
            if (args.empty())
                return error();
            const auto condition = truth(args[0]);
            if (!condition)
                return error();
            return *condition ? (args.size() > 1 ? args[1] : boolean(true)) : (args.size() > 2 ? args[2] : boolean(false));
        }
        case 0:  // COUNT
        case 4:  // SUM
        case 5:  // AVERAGE
        case 6:  // MIN
        case 7: {  // MAX
            std::vector<double> values;
            for (size_t i = 0; i < args.size(); ++i) {
                const auto n = numberAt(i);
                if (!n)
                    return error();
                values.push_back(*n);
            }
            if (id == 0)
                return number(static_cast<double>(values.size()));
            if (values.empty())
                return id == 5 ? error() : number(0);
            const double sum = std::accumulate(values.begin(), values.end(), 0.0);
            if (id == 4 || id == 5)
                return number(id == 4 ? sum : sum / static_cast<double>(values.size()));
            return number(id == 6 ? *std::min_element(values.begin(), values.end()) : *std::max_element(values.begin(), values.end()));
        }
        case 8: return args.empty() ? number(at_.row + 1.0) : error();     // ROW() of the cell itself
        case 9: return args.empty() ? number(at_.column + 1.0) : error();  // COLUMN()
        case 24: return numberAt(0) ? number(std::abs(*numberAt(0))) : error();
        case 25: return numberAt(0) ? number(std::floor(*numberAt(0))) : error();  // INT
        case 27: {  // ROUND, halves away from zero
            const auto value = numberAt(0), digits = numberAt(1);
            if (!value || !digits || std::abs(*digits) > 15)
                return error();
            const double scale = std::pow(10.0, std::trunc(*digits));
            return number(std::round(*value * scale) / scale);
        }
        case 31:    // MID
        case 32:    // LEN
        case 112:   // LOWER
        case 113:   // UPPER
        case 115:   // LEFT
        case 116:   // RIGHT
        case 118:   // TRIM
            return textFunction(id, args);
        case 36:  // AND
        case 37: {  // OR
            bool all = true, any = false;
            for (const Value& arg : args) {
                const auto t = truth(arg);
                if (!t)
                    return error();
                all = all && *t;
                any = any || *t;
            }
            return boolean(id == 36 ? all : any);
        }
        case 38: {  // NOT
            const auto t = truth(args[0]);
            return t ? boolean(!*t) : error();
        }
        case 39: {  // MOD, with the sign of the divisor
            const auto a = numberAt(0), b = numberAt(1);
            if (!a || !b || *b == 0)
                return error();
            return number(*a - *b * std::floor(*a / *b));
        }
        case 3: return boolean(args[0].kind == Value::Kind::Error);  // ISERROR
        case 126: return boolean(args[0].kind == Value::Kind::Error);  // ISERR: no #N/A is ever made here
        case 67:  // DAY
        case 68:  // MONTH
        case 69:  // YEAR
        case 70: {  // WEEKDAY, Sunday 1
            const auto serial = numberAt(0);
            if (!serial || *serial < 0 || *serial > 2958465)
                return error();
            const CalendarDate date = calendarDate(static_cast<int64_t>(*serial), workbook_.dateSystem1904);
            return number(id == 67 ? date.day : id == 68 ? date.month : id == 69 ? date.year : date.weekday + 1);
        }
        case 82:  // SEARCH, without regard to case
        case 124: {  // FIND
            if (args.size() < 2 || args.size() > 3 || args[0].kind == Value::Kind::Error || args[1].kind == Value::Kind::Error)
                return error();
            const auto start = args.size() == 3 ? numberAt(2) : std::optional<double>(1);
            const std::string wanted = id == 82 ? lowerCase(textOf(args[0])) : textOf(args[0]);
            const std::string within = id == 82 ? lowerCase(textOf(args[1])) : textOf(args[1]);
            if (!start || *start < 1 || *start > static_cast<double>(within.size()) + 1)
                return error();
            const size_t found = within.find(wanted, static_cast<size_t>(*start) - 1);
            return found == std::string::npos ? error() : number(static_cast<double>(found) + 1);
        }
        case 221: return number(static_cast<double>(todaySerial(workbook_.dateSystem1904)));  // TODAY
        case 127: return boolean(args[0].kind == Value::Kind::Text);     // ISTEXT
        case 128: return boolean(args[0].kind == Value::Kind::Number);   // ISNUMBER
        case 129: return boolean(args[0].kind == Value::Kind::Empty);    // ISBLANK
        default: return error();
        }
    }

    // Functions of a text, counted in characters, not bytes.
    static Value textFunction(uint16_t id, const std::vector<Value>& args)
    {
        if (std::any_of(args.begin(), args.end(), [](const Value& v) { return v.kind == Value::Kind::Error; }))
            return error();
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
        case 32: return number(static_cast<double>(length));
        case 112:
        case 113: {
            std::string changed = text;
            std::transform(changed.begin(), changed.end(), changed.begin(), id == 112 ? g_ascii_tolower : g_ascii_toupper);
            return {Value::Kind::Text, 0, changed};
        }
        case 115:
        case 116: {
            const auto n = count(1, 1);
            return !n ? error() : piece(id == 115 ? 0 : length - *n, *n);
        }
        case 31: {
            const auto start = numberAt(args, 1);
            const auto n = count(2, 0);
            return !start || *start < 1 || !n ? error() : piece(static_cast<size_t>(std::min(*start, 1e9)) - 1, *n);
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

    const std::vector<uint8_t>& formula_;
    const Workbook& workbook_;
    const Sheet& sheet_;
    CellRef at_;
    AreaSummaries& areas_;
    size_t position_ = 0;
    std::vector<Operand> stack_;
};

}  // namespace

ConditionValue conditionValueOf(const Workbook& workbook, const Cell* cell)
{
    if (!cell)
        return {};
    switch (cell->kind) {
    case CellKind::Blank: return {};
    case CellKind::Number: return number(cell->number);
    case CellKind::Boolean: return boolean(cell->number != 0);
    case CellKind::Text:
        return {Value::Kind::Text, 0, cell->text < workbook.strings.size() ? workbook.strings[cell->text].utf8 : ""};
    case CellKind::Error: return error();
    }
    return error();
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), g_ascii_tolower);
    return text;
}

int compareConditionValues(Value a, Value b)
{
    if (a.kind == Value::Kind::Empty)
        a = b.kind == Value::Kind::Text ? Value{Value::Kind::Text, 0, {}} : Value{b.kind == Value::Kind::Boolean ? b.kind : Value::Kind::Number, 0, {}};
    if (b.kind == Value::Kind::Empty)
        b = a.kind == Value::Kind::Text ? Value{Value::Kind::Text, 0, {}} : Value{a.kind == Value::Kind::Boolean ? a.kind : Value::Kind::Number, 0, {}};
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.kind == Value::Kind::Text) {
        const std::string x = lowerCase(a.text), y = lowerCase(b.text);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
}

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
