#include "valid_date.h"

namespace calendar {

AcceptedDays::AcceptedDays(Date first, Date last, const CivilCalendars &calendars)
    : m_first(first), m_last(last), m_calendars(&calendars)
{
    for (const Calendar calendar : {Calendar::Gregorian, Calendar::Hijri})
        m_years[std::size_t(calendar)] = {calendars.civilDate(first, calendar).year,
                                          calendars.civilDate(last, calendar).year};
}

AcceptedDays AcceptedDays::ofEveryYear(Calendar calendar)
{
    return {*dateOf({calendar, FirstYear, 1, 1}),
            *dateOf({calendar, LastYear, 12, lastDayOfMonth(calendar, LastYear, 12)})};
}

Date AcceptedDays::validDateOf(const CivilDate &civil) const
{
    const auto refuse = [&](DateFault fault) { throw DateError(fault, civil); };
    const Years &years = m_years[std::size_t(civil.calendar)];
    if (civil.year < years.first || civil.year > years.last)
        refuse(DateFault::YearOutOfRange);
    if (civil.month < 1 || civil.month > 12)
        refuse(DateFault::MonthOutOfRange);
    if (civil.day < 1)
        refuse(DateFault::DayBelowOne);
    const std::optional<Date> date = m_calendars->dateOf(civil);
    if (!date)
        refuse(civil.day > m_calendars->lastDayOfMonth(civil.calendar, civil.year, civil.month)
                       ? DateFault::PastMonthEnd
                       : DateFault::SkippedByReform);
    if (*date < m_first || *date > m_last)
        refuse(DateFault::OutOfRange);
    return *date;
}

} // namespace calendar
