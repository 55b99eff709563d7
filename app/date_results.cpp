#include "date_results.h"

#include "calendar_service.h"

using namespace calendar;

DateResults resultsFor(Date date, Calendar source)
{
    DateResults results;
    {
        CalendarScope scope(calendarNumber(source));
        results.sourceLongDate = LongDateText(date);
        results.sourceMonth = std::to_string(MonthOfYear(date));
    }
    CalendarScope target(calendarNumber(otherCalendar(source)));
    results.targetLongDate = LongDateText(date);
    results.targetMonth = std::to_string(MonthOfYear(date));
    results.weekday = DayName(DayOfWeek(date, 7), 7);
    return results;
}

Date readDate(const std::string &dateText, Calendar source)
{
    CalendarScope scope(calendarNumber(source));
    return ParseDate(dateText);
}
