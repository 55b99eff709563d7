#pragma once

#include "command_line/reckoning.h"

#include "calendar/civil_date.h"

#include <array>
#include <chrono>
#include <optional>
#include <vector>

namespace taqwim_cal {

using command_line::Reckoning;

// A month of one calendar, with the arithmetic of counting months across years.
struct CalendarMonth
{
    calendar::Calendar calendar = calendar::Calendar::Hijri;
    int year = 1;
    int month = 1; // 1..12

    CalendarMonth plus(int months) const;
    friend bool operator==(const CalendarMonth &, const CalendarMonth &) = default;
};

CalendarMonth monthOf(calendar::Date date, calendar::Calendar calendar, const Reckoning &reckoning);

// A day as the grid shows it: its number in the month shown and in the other calendar.
struct GridDay
{
    calendar::Date date;
    int day = 1;
    int otherDay = 1;
};

// One month laid out in weeks, before any words or text.
struct MonthGrid
{
    CalendarMonth month;
    std::chrono::weekday firstDayOfWeek;
    // A row for each week, its seven days from the week's first day; the cells before the
    // month's first day and after its last are empty.
    std::vector<std::array<std::optional<GridDay>, 7>> weeks;
    // The other calendar's months that the days fall in, in order.
    std::vector<CalendarMonth> otherMonths;
};

// The other calendar's months that the month's days fall in, in order.
std::vector<CalendarMonth> otherMonthsOf(const CalendarMonth &month, const Reckoning &reckoning);

MonthGrid monthGrid(const CalendarMonth &month, std::chrono::weekday firstDayOfWeek,
                    const Reckoning &reckoning);

} // namespace taqwim_cal
