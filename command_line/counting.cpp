#include "counting.h"

#include <algorithm>

namespace command_line {
namespace {

int monthIndexOf(const CivilDate &civil)
{
    return civil.year * 12 + civil.month - 1;
}

// The months the calendar's dates of two days are apart, by their years and months alone.
int monthsApart(const Reckoning &reckoning, Date from, Date to, Calendar calendar)
{
    return monthIndexOf(reckoning.civilDate(to, calendar))
            - monthIndexOf(reckoning.civilDate(from, calendar));
}

// Whether counting `months` from `from` still does not pass `to`, in the direction of `sign`.
bool reaches(const Reckoning &reckoning, Date from, Date to, Calendar calendar, int months,
             int sign)
{
    try {
        const Date landed = monthsLater(reckoning, from, calendar, months);
        return sign > 0 ? landed <= to : landed >= to;
    } catch (const calendar::DateError &) {
        return false; // past the days a date may name, so past `to` too
    }
}

} // namespace

Date monthsLater(const Reckoning &reckoning, Date day, Calendar calendar, int months)
{
    const CivilDate civil = reckoning.civilDate(day, calendar);
    const long long index = monthIndexOf(civil) + (long long)months;
    const long long year = index >= 0 ? index / 12 : (index - 11) / 12;
    CivilDate landed{calendar, int(year), int(index - year * 12) + 1, 1};
    if (year != landed.year) // far past any year a date may name
        throw calendar::DateError(calendar::DateFault::OutOfRange, landed);
    landed.day = civil.day;
    try {
        landed.day = std::min(civil.day,
                              reckoning.lastDayOfMonth(calendar, landed.year, landed.month));
    } catch (const calendar::DateError &) {
        // a month beyond the reckoning, which the check below refuses
    }
    return reckoning.readableDays().validDateOf(landed);
}

Elapsed elapsedBetween(const Reckoning &reckoning, Date from, Date to, Calendar calendar)
{
    const int sign = to >= from ? 1 : -1;
    // The months the dates' months are apart, or one fewer where the day of the month is not
    // reached: one more would land in a month past the second day's.
    int months = monthsApart(reckoning, from, to, calendar);
    if (months != 0 && !reaches(reckoning, from, to, calendar, months, sign))
        months -= sign;
    return {to - from, months, to - monthsLater(reckoning, from, calendar, months)};
}

} // namespace command_line
