#include "month_grid.h"

namespace taqwim_cal {

using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;
using calendar::Days;

CalendarMonth CalendarMonth::plus(int months) const
{
    const int index = year * 12 + (month - 1) + months;
    // Floor division, so that the months before year 0 count down as the others do.
    const int newYear = index >= 0 ? index / 12 : -((-index + 11) / 12);
    return {calendar, newYear, index - newYear * 12 + 1};
}

CalendarMonth monthOf(Date date, Calendar calendar, const Reckoning &reckoning)
{
    const CivilDate civil = reckoning.civilDate(date, calendar);
    return {calendar, civil.year, civil.month};
}

std::vector<CalendarMonth> otherMonthsOf(const CalendarMonth &month, const Reckoning &reckoning)
{
    const Calendar other = calendar::otherCalendar(month.calendar);
    const Date first = reckoning.monthStart(month.calendar, month.year, month.month);
    const Date last = reckoning.monthStart(month.calendar, month.year, month.month + 1) - Days{1};
    const CalendarMonth end = monthOf(last, other, reckoning);
    std::vector<CalendarMonth> months{monthOf(first, other, reckoning)};
    while (months.back() != end)
        months.push_back(months.back().plus(1));
    return months;
}

MonthGrid monthGrid(const CalendarMonth &month, std::chrono::weekday firstDayOfWeek,
                    const Reckoning &reckoning)
{
    const Calendar other = calendar::otherCalendar(month.calendar);
    const Date first = reckoning.monthStart(month.calendar, month.year, month.month);
    const Date end = reckoning.monthStart(month.calendar, month.year, month.month + 1);
    MonthGrid grid{.month = month,
                   .firstDayOfWeek = firstDayOfWeek,
                   .weeks = {},
                   .otherMonths = otherMonthsOf(month, reckoning)};
    for (Date date = first; date < end; date += Days{1}) {
        // Each day takes its own weekday's column, so the ten days the Gregorian reform
        // skipped leave no gap: Thursday 4 October 1582 is followed by Friday the 15th.
        const auto column = unsigned((date.weekday() - firstDayOfWeek).count());
        if (grid.weeks.empty() || column == 0)
            grid.weeks.emplace_back();
        const CivilDate shown = reckoning.civilDate(date, month.calendar);
        grid.weeks.back()[column] = GridDay{date, shown.day, reckoning.civilDate(date, other).day};
    }
    return grid;
}

} // namespace taqwim_cal
