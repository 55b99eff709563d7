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

// The reckonings of the Hijri calendar ICU has: the Umm al-Qura calendar of Saudi Arabia and
// the Gulf (ICU's table for 1300 to 1600 AH, its civil arithmetic outside it), and the two
// arithmetic calendars of 30-year cycles: the civil one, whose era began on Friday 16 July
// 622 (CLDR's preferred Hijri calendar of Turkey, Azerbaijan, Albania, Kosovo and Central
// Asia), and the tabular one, whose era began on the Thursday before.
enum class HijriVariant { UmmAlQura, Civil, Tabular };

constexpr Calendar otherCalendar(Calendar calendar)
{
    return calendar == Calendar::Hijri ? Calendar::Gregorian : Calendar::Hijri;
}

// The years a user may name in either calendar.
inline constexpr int FirstYear = 1;
inline constexpr int LastYear = 9999;

// The three numbers a civil date is written in.
enum class DateField { Day, Month, Year };

struct CivilDate
{
    Calendar calendar = Calendar::Gregorian;
    int year = 1; // astronomical: 0 and below precede the era
    int month = 1; // 1..12
    int day = 1;

    friend bool operator==(const CivilDate &, const CivilDate &) = default;
};

// The first day of the Gregorian calendar: the day before it was 4 October 1582 (Julian).
inline constexpr CivilDate FirstGregorianDate{Calendar::Gregorian, 1582, 10, 15};

// A way of naming days by year, month and day in the two calendars: the calendars above,
// or one that moves the Hijri months as a community keeps them.
class CivilCalendars
{
public:
    // Throws DateError (OutOfRange) for a day far outside the years either calendar accepts.
    virtual CivilDate civilDate(Date date, Calendar calendar) const = 0;
    // The day the civil date names, or nothing where the calendar has no such day.
    virtual std::optional<Date> dateOf(const CivilDate &civil) const = 0;
    // The number of the month's last day: 31 for October 1582, although its days 5 to 14
    // never existed.
    virtual int lastDayOfMonth(Calendar calendar, int year, int month) const = 0;

protected:
    ~CivilCalendars() = default;
};

// The calendars of the comment above, as functions and as CivilCalendars.
CivilDate civilDate(Date date, Calendar calendar);
std::optional<Date> dateOf(const CivilDate &civil);
int lastDayOfMonth(Calendar calendar, int year, int month);
const CivilCalendars &plainCalendars();

} // namespace calendar
