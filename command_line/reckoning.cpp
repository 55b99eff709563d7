#include "reckoning.h"

#include "calendar/date_error.h"

namespace command_line {
namespace {

using calendar::Days;

Date firstReadableDay()
{
    return *calendar::dateOf({Calendar::Gregorian, calendar::FirstYear, 1, 1});
}

Date lastReadableDay()
{
    using calendar::LastYear;
    return *calendar::dateOf({Calendar::Hijri, LastYear, 12,
                              calendar::lastDayOfMonth(Calendar::Hijri, LastYear, 12)});
}

} // namespace

Reckoning::Reckoning(int hijriShift)
    : m_hijriShift(hijriShift), m_readable(firstReadableDay(), lastReadableDay(), *this)
{
}

CivilDate Reckoning::civilDate(Date date, Calendar calendar) const
{
    if (calendar == Calendar::Gregorian)
        return calendar::civilDate(date, calendar);
    return calendar::civilDate(date + Days{m_hijriShift}, calendar);
}

std::optional<Date> Reckoning::dateOf(const CivilDate &civil) const
{
    const std::optional<Date> date = calendar::dateOf(civil);
    if (!date || civil.calendar == Calendar::Gregorian)
        return date;
    return *date - Days{m_hijriShift};
}

int Reckoning::lastDayOfMonth(Calendar calendar, int year, int month) const
{
    // A shift moves whole months, and leaves their lengths as they were.
    return calendar::lastDayOfMonth(calendar, year, month);
}

Date Reckoning::monthStart(Calendar calendar, int year, int month) const
{
    const CivilDate first = month > 12 ? CivilDate{calendar, year + 1, 1, 1}
                                       : CivilDate{calendar, year, month, 1};
    if (const std::optional<Date> start = dateOf(first))
        return *start;
    throw calendar::DateError(calendar::DateFault::OutOfRange, first);
}

} // namespace command_line
