#include "date_results.h"

using namespace calendar;

int otherCalendar(int calendar)
{
    return calendar == Gregorian ? Hijri : Gregorian;
}

DateResults resultsFor(Date date, int sourceCalendar)
{
    DateResults results;
    {
        CalendarScope source(sourceCalendar);
        results.sourceLongDate = LongDateText(date);
        results.sourceMonth = std::to_string(MonthOfYear(date));
    }
    CalendarScope target(otherCalendar(sourceCalendar));
    results.targetLongDate = LongDateText(date);
    results.targetMonth = std::to_string(MonthOfYear(date));
    results.weekday = DayName(DayOfWeek(date, 7), 7);
    return results;
}

Date readDate(const std::string &dateText, int sourceCalendar)
{
    CalendarScope source(sourceCalendar);
    return ParseDate(dateText);
}
