#pragma once
// Serial day numbers of the two date systems as calendar dates.
#include <cstdint>

namespace kx::workbook {

struct CalendarDate {
    int year = 0, month = 0, day = 0;
    int weekday = 0;  // 0 is Sunday
};

// `serialDay` is not negative. The 1900 system keeps the spreadsheet program's 29 February 1900
// (day 60) and its day 0, shown as 0 January 1900.
CalendarDate calendarDate(int64_t serialDay, bool dateSystem1904);

}  // namespace kx::workbook
