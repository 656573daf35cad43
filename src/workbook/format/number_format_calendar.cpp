#include "workbook/format/number_format_calendar.h"

namespace kx::workbook {
namespace {

// Days from 1 January 1970 to a civil date (proleptic Gregorian), after H. Hinnant's algorithm.
CalendarDate civilFromDays(int64_t days)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    date.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

constexpr int64_t daysFrom1970To1899December30 = -25569;
constexpr int64_t daysFrom1970To1904January1 = -24107;
constexpr int64_t fictitiousLeapDay = 60;

}  // namespace

CalendarDate calendarDate(int64_t serialDay, bool dateSystem1904)
{
    if (dateSystem1904) {
        CalendarDate date = civilFromDays(daysFrom1970To1904January1 + serialDay);
        date.weekday = static_cast<int>((serialDay + 5) % 7);  // 1 January 1904 was a Friday
        return date;
    }
    CalendarDate date;
    if (serialDay == 0)
        date = {1900, 1, 0};
    else if (serialDay == fictitiousLeapDay)
        date = {1900, 2, 29};
    else
        date = civilFromDays(daysFrom1970To1899December30 + serialDay + (serialDay < fictitiousLeapDay ? 1 : 0));
    // Counted through the fictitious leap day, so day 1 is a Sunday, as the program has it.
    date.weekday = static_cast<int>((serialDay + 6) % 7);
    return date;
}

}  // namespace kx::workbook
