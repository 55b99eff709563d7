#pragma once

#include "calendar/civil_date.h"
#include "calendar/date.h"

#include <string>

// What the main window shows of one day: its long date and month number in the calendar it
// was entered in (the source) and in the other one (the target), and its weekday name.
struct DateResults
{
    std::string sourceLongDate, sourceMonth;
    std::string targetLongDate, targetMonth;
    std::string weekday;
};

// Every text is formed before any is shown, so a failure can never leave half a result.
DateResults resultsFor(calendar::Date date, calendar::Calendar source);

// Reads "day/month/year" in the given calendar; the current calendar is Gregorian again
// however it returns.
calendar::Date readDate(const std::string &dateText, calendar::Calendar source);
