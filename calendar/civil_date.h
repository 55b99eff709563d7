#pragma once

#include "date.h"

#include <optional>

// The calendar arithmetic both programs share: a day named by year, month and day in one of
// the two calendars, and the way to and from the day itself. Nothing here depends on a
// current calendar or any other setting, and every function may be called from any thread.
namespace calendar {

// Gregorian is Julian before 15 October 1582, as history books give dates; Hijri is the
// Umm al-Qura calendar as ICU computes it.
enum class Calendar { Gregorian, Hijri };

constexpr Calendar otherCalendar(Calendar calendar)
{
    return calendar == Calendar::Hijri ? Calendar::Gregorian : Calendar::Hijri;
}

struct CivilDate
{
    Calendar calendar = Calendar::Gregorian;
    int year = 1; // astronomical: 0 and below precede the era
    int month = 1; // 1..12
    int day = 1;

    friend bool operator==(const CivilDate &, const CivilDate &) = default;
};

// Throws DateError (OutOfRange) for a day far outside the years either calendar accepts.
CivilDate civilDate(Date date, Calendar calendar);

// The day the civil date names, or nothing where the calendar has no such day.
std::optional<Date> dateOf(const CivilDate &civil);

// The day a user named: years 1 to 9999 only, and a DateError that says what is wrong
// where there is no such day.
Date validDateOf(const CivilDate &civil);

// The number of the month's last day: 31 for October 1582, although its days 5 to 14 never
// existed.
int lastDayOfMonth(Calendar calendar, int year, int month);

} // namespace calendar
