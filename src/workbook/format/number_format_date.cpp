#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "workbook/format/number_format_calendar.h"
#include "workbook/format/number_format_render.h"

namespace kx::workbook {
namespace {

constexpr std::array<const char*, 12> monthNames{"January", "February", "March", "April", "May", "June",
                                                 "July", "August", "September", "October", "November", "December"};
constexpr std::array<const char*, 7> dayNames{"Sunday", "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
constexpr int64_t lastDay = 2958465;  // 31 December 9999
constexpr int maxSubSecondDigits = 3;

std::string padded(int64_t number, int width)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", std::clamp(width, 1, 2), static_cast<long long>(number));
    return text;
}

std::string named(const char* name, int count)
{
    return count == 3 ? std::string(name, 3) : count == 5 ? std::string(name, 1) : std::string(name);
}

// The serial split into what the tokens show, rounded to the finest unit shown.
struct Moment {
    CalendarDate date;
    int64_t totalUnits = 0;   // the whole serial in units of `unitsPerSecond`
    int64_t unitsPerSecond = 1;
    int subSecondDigits = 0;

    int64_t totalSeconds() const { return totalUnits / unitsPerSecond; }
    int64_t secondOfDay() const { return totalSeconds() % 86400; }
    int hour() const { return static_cast<int>(secondOfDay() / 3600); }
    int minute() const { return static_cast<int>(secondOfDay() / 60 % 60); }
    int second() const { return static_cast<int>(secondOfDay() % 60); }
    std::string subSecond(int count) const
    {
        char digits[8];
        std::snprintf(digits, sizeof digits, ".%0*lld", subSecondDigits, static_cast<long long>(totalUnits % unitsPerSecond));
        return std::string(digits, std::min(count, subSecondDigits) + 1);
    }
};

std::optional<Moment> momentOf(const Section& section, double serial, bool dateSystem1904)
{
    Moment moment;
    for (const Token& token : section.tokens)
        if (token.kind == TokenKind::SubSecond)
            moment.subSecondDigits = std::max(moment.subSecondDigits, std::min(token.count, maxSubSecondDigits));
    for (int i = 0; i < moment.subSecondDigits; ++i)
        moment.unitsPerSecond *= 10;
    const double units = std::round(serial * 86400.0 * static_cast<double>(moment.unitsPerSecond));
    if (!(serial >= 0) || units > 9e18)
        return std::nullopt;
    moment.totalUnits = static_cast<int64_t>(units);
    const int64_t day = moment.totalSeconds() / 86400;
    const bool showsDate = section.has(TokenKind::Year) || section.has(TokenKind::Month) || section.has(TokenKind::Day);
    if (showsDate && (day > lastDay || (dateSystem1904 && day > lastDay - 1462)))
        return std::nullopt;
    if (showsDate)
        moment.date = calendarDate(day, dateSystem1904);
    return moment;
}

std::string amPm(const std::string& marker, int hour)
{
    const size_t slash = marker.find('/');
    return hour < 12 ? marker.substr(0, slash) : marker.substr(slash + 1);
}

std::string shown(const Token& token, const Moment& moment, bool twelveHours)
{
    const CalendarDate& date = moment.date;
    switch (token.kind) {
    case TokenKind::Year: return token.count <= 2 ? padded(date.year % 100, 2) : std::to_string(date.year);
    case TokenKind::Month:
        return token.count <= 2 ? padded(date.month, token.count)
                                : named(monthNames[date.month - 1], std::min(token.count, token.count == 5 ? 5 : 4));
    case TokenKind::Day:
        return token.count <= 2 ? padded(date.day, token.count) : named(dayNames[date.weekday], std::min(token.count, 4));
    case TokenKind::Hour: {
        const int hour = moment.hour();
        return padded(twelveHours ? (hour + 11) % 12 + 1 : hour, token.count);
    }
    case TokenKind::Minute: return padded(moment.minute(), token.count);
    case TokenKind::Second: return padded(moment.second(), token.count);
    case TokenKind::ElapsedHours: return padded(moment.totalSeconds() / 3600, token.count);
    case TokenKind::ElapsedMinutes: return padded(moment.totalSeconds() / 60, token.count);
    case TokenKind::ElapsedSeconds: return padded(moment.totalSeconds(), token.count);
    case TokenKind::SubSecond: return moment.subSecond(token.count);
    case TokenKind::AmPm: return amPm(token.text, moment.hour());
    default: return {};
    }
}

}  // namespace

bool renderDateTime(const Section& section, double serial, bool dateSystem1904, FormattedValue& out)
{
    const std::optional<Moment> moment = momentOf(section, serial, dateSystem1904);
    if (!moment)
        return false;
    const bool twelveHours = section.has(TokenKind::AmPm);
    for (const Token& token : section.tokens) {
        if (token.kind >= TokenKind::Year && token.kind <= TokenKind::AmPm)
            out.text += shown(token, *moment, twelveHours);
        else
            appendAsWritten(token, out);
    }
    return true;
}

}  // namespace kx::workbook
