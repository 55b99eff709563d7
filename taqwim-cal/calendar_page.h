#pragma once

#include "month_grid.h"
#include "terminal_text.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
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
};

// The months side by side, as many to a row as fit the columns and three at the most, in
// the order of reading: under a right-to-left language the first month, and in each month
// the first day of the week, stand at the right. Over each month its name and year and
// the other calendar's months; under them a pair of lines for each week, the days'
// numbers in the month shown and below them in the other calendar, faint; occasions
// starred. Every month of a page is as wide as the widest headings need, so all of its
// months are fitted first; its rows are then laid out one at a time, so that a page of
// any length is never held whole.
class CalendarPage
{
public:
    CalendarPage(const PageWords &words, const PageLook &look);
    ~CalendarPage();
    CalendarPage(const CalendarPage &) = delete;
    CalendarPage &operator=(const CalendarPage &) = delete;

    void fit(const CalendarMonth &month, const std::vector<CalendarMonth> &otherMonths);
    std::size_t monthsPerRow() const;
    // A line over the whole page, centred over a full row: the year of a year's months.
    TerminalLine heading(const std::string &text) const;
    // The lines of a row of months, monthsPerRow() at the most; `occasions` in order.
    std::vector<TerminalLine> row(const std::vector<MonthGrid> &months,
                                  std::span<const calendar::Date> occasions) const;

private:
    class Arrangement;
    std::unique_ptr<Arrangement> m_layout;
};

} // namespace taqwim_cal
