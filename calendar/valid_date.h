#pragma once

#include "civil_date.h"
#include "date_error.h"

#include <array>

namespace calendar {

// The days a front end lets its user name, from the first to the last, as the calendars
// given name them; and the one check of a date written in numbers against them.
class AcceptedDays
{
public:
    AcceptedDays(Date first, Date last, const CivilCalendars &calendars = plainCalendars());

    // Every day of years 1 to 9999 of the calendar.
    static AcceptedDays ofEveryYear(Calendar calendar);

    Date first() const { return m_first; }
    Date last() const { return m_last; }

    // The day the civil date names; or a DateError, checked in the order of DateFault.
    Date validDateOf(const CivilDate &civil) const;

private:
    struct Years
    {
        int first, last;
    };
    Date m_first, m_last;
    const CivilCalendars *m_calendars;
    std::array<Years, 2> m_years; // of the first and the last day, in each calendar
};

} // namespace calendar
