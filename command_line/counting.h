#pragma once

#include "reckoning.h"

// Counting in whole months and years, in either calendar, by the run's reckoning: for the
// dates a DATE moves to ("+4 hijri months 10 days") and the time between two dates.
namespace command_line {

// The day a number of months after the day (before it, for a negative number), a year being
// twelve: the same day of that month, or its last where the month is shorter. A lunar month
// that overflowed into the next, as date(1) lets a Gregorian one, would land a day or two off.
// Throws calendar::DateError (OutOfRange) for a day no DATE may name, and the fault of a day
// the Gregorian reform skipped.
Date monthsLater(const Reckoning &reckoning, Date day, Calendar calendar, int months);

// The time from one day to another: all the days, and the same as whole months and the days
// left over; negative, all three, where the second day comes first. Counted so that
// monthsLater(from, months) + rest is the second day.
struct Elapsed
{
    calendar::Days days{0};
    int months = 0; // years are twelve of them
    calendar::Days rest{0};
};
Elapsed elapsedBetween(const Reckoning &reckoning, Date from, Date to, Calendar calendar);

} // namespace command_line
