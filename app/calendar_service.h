#pragma once

#include "date_reading.h"

#include "calendar/civil_date.h"
#include "calendar/date.h"
#include "calendar/date_error.h"

#include <optional>
#include <string>
#include <string_view>

// The date operations the main window relies on: today's date, a process-wide current
// calendar, and splitting, reading and writing dates under that calendar. Each is a thin
// layer over the calendar library (calendar/), which needs no current calendar, and the
// window's Arabic words (date_words.h).
//
// Everything here is meant for the one user-interface thread: the current calendar is a
// single process-wide setting, exactly as the window's handlers expect it to be.
namespace calendar {

inline constexpr int Gregorian = 0;
inline constexpr int Hijri = 1;

// The number SetCalendar and CalendarScope take for a calendar.
constexpr int calendarNumber(Calendar calendar)
{
    return calendar == Calendar::Hijri ? Hijri : Gregorian;
}

Date GetToday();

// 0 Gregorian, 1 Hijri; anything else is a programming error (std::invalid_argument).
void SetCalendar(int calendar);
int CurrentCalendar();

int DayOfMonth(Date date);
int MonthOfYear(Date date);
// Astronomical numbering: a Hijri year before the Hijra is 0 or negative.
int YearOf(Date date);

// Reads "day/month/year" under the current calendar: years 1 to 9999. Invisible direction
// marks are skipped and the no-break space counts as a blank. Throws EntryError for a text
// that is not a date in numbers, calendar::DateError for a date that names no day.
Date ParseDate(std::string_view utf8Text);

// Rejects, naming the field, a field text that holds anything but a number: a separator
// typed into one field would otherwise be blamed on the next once the fields are joined.
// An empty field passes; ParseDate tells it.
void CheckDateField(std::string_view utf8Text, DateField field);

// "8 ديسمبر 2026 م" or "28 جمادى الآخرة 1448 هـ", by the current calendar.
std::string LongDateText(Date date);

// Weekday of the date counted from firstDay (1 Sunday ... 7 Saturday): with firstDay 7,
// Saturday is 1 and Friday 7.
int DayOfWeek(Date date, int firstDay);
// Full Arabic name of the weekday numbered as DayOfWeek numbers it.
std::string DayName(int weekday, int firstDay);

// Sets the current calendar and puts Gregorian back however the scope is left, so that no
// failure leaves later handlers reading Hijri values.
class CalendarScope
{
public:
    explicit CalendarScope(int calendar) { SetCalendar(calendar); }
    ~CalendarScope() { SetCalendar(Gregorian); }
    CalendarScope(const CalendarScope &) = delete;
    CalendarScope &operator=(const CalendarScope &) = delete;
};

// Makes GetToday() answer a fixed day while it lives; for tests and screenshots. An inner
// one hands the day back to the outer one when it ends.
class FixedToday
{
public:
    explicit FixedToday(Date today);
    ~FixedToday();
    FixedToday(const FixedToday &) = delete;
    FixedToday &operator=(const FixedToday &) = delete;

private:
    std::optional<Date> m_outer;
};

} // namespace calendar
