#pragma once

#include "cal_options.h"
#include "month_grid.h"

#include <stdexcept>

namespace taqwim_cal {

// What one run shows: the months of its grids, from the first to the last, and the days of
// its occasions and its iCalendar file.
struct Span
{
    CalendarMonth firstMonth;
    CalendarMonth lastMonth;
    calendar::Date first;
    calendar::Date last;
};

// A month, a year or a date that does not exist, or a span that reaches a year the program
// does not take (months of years 1 to 9999 of the calendar shown): exit status 1. what() is
// the message, in the user's language.
class NoSuchSpan : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

Span spanOf(const Options &options, const Reckoning &reckoning, calendar::Date today);

} // namespace taqwim_cal
