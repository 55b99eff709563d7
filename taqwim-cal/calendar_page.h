#pragma once

#include "month_grid.h"
#include "terminal_text.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace taqwim_cal {

// The words and numbers of a page, in the user's language and digits.
struct PageWords
{
    std::function<std::string(calendar::Calendar calendar, int month)> monthName;
    // "Nov": for the other calendar's months where their full names take more than a line.
    std::function<std::string(calendar::Calendar calendar, int month)> shortMonthName;
    // The year with its era: "1445 هـ".
    std::function<std::string(calendar::Calendar calendar, int year)> yearText;
    std::function<std::string(int number)> number;
    // The columns' heads, from Sunday: two cells wide at the most.
    std::array<std::string, 7> weekdayHeads;
};

struct PageLook
{
    bool rightToLeft = false;
    int columns = 80;
    std::optional<calendar::Date> today = {}; // in reverse video, where the page is written styled
    std::vector<calendar::Date> occasions = {}; // in order; starred
};

// The months side by side, as many to a row as fit the columns and three at the most, in
// the order of reading: under a right-to-left language the first month, and in each month
// the first day of the week, stand at the right. Over each month its name and year and
// the other calendar's months; under them a pair of lines for each week, the days'
// numbers in the month shown and below them in the other calendar, faint.
std::vector<TerminalLine> calendarPage(const std::vector<MonthGrid> &months, const PageWords &words,
                                       const PageLook &look);

} // namespace taqwim_cal
