#include "calendar_service.h"

#include "calendar_system.h"

#include <chrono>
#include <ctime>
#include <optional>

namespace calendar {
namespace {

int currentCalendar = Gregorian;
std::optional<Date> fixedToday;

const detail::CalendarSystem &current()
{
    return detail::system(currentCalendar);
}

Date localToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::chrono::year_month_day civil{std::chrono::year{local.tm_year + 1900},
                                            std::chrono::month{unsigned(local.tm_mon + 1)},
                                            std::chrono::day{unsigned(local.tm_mday)}};
    return Date::fromDays(std::chrono::sys_days{civil}.time_since_epoch().count());
}

void checkFirstDay(int firstDay)
{
    if (firstDay < 1 || firstDay > 7)
        throw std::invalid_argument("first day of the week must be 1..7");
}

} // namespace

Date GetToday()
{
    return fixedToday ? *fixedToday : localToday();
}

void SetCalendar(int calendar)
{
    if (calendar != Gregorian && calendar != Hijri)
        throw std::invalid_argument("calendar must be 0 (Gregorian) or 1 (Hijri)");
    currentCalendar = calendar;
}

int CurrentCalendar()
{
    return currentCalendar;
}

int DayOfMonth(Date date)
{
    return current().civilDate(date).day;
}

int MonthOfYear(Date date)
{
    return current().civilDate(date).month;
}

int YearOf(Date date)
{
    return current().civilDate(date).year;
}

std::string LongDateText(Date date)
{
    const detail::CalendarSystem &system = current();
    const detail::CivilDate civil = system.civilDate(date);
    return std::to_string(civil.day) + " " + system.monthName(civil.month) + " "
            + system.yearText(civil.year);
}

int DayOfWeek(Date date, int firstDay)
{
    checkFirstDay(firstDay);
    // 1970-01-01 was a Thursday, day 5 when Sunday is 1.
    const int sundayBased = int(((date.days() + 4) % 7 + 7) % 7) + 1;
    return (sundayBased - firstDay + 7) % 7 + 1;
}

std::string DayName(int weekday, int firstDay)
{
    checkFirstDay(firstDay);
    if (weekday < 1 || weekday > 7)
        throw std::invalid_argument("weekday must be 1..7");
    return detail::weekdayName((weekday - 1 + firstDay - 1) % 7 + 1);
}

FixedToday::FixedToday(Date today) : m_outer(fixedToday)
{
    fixedToday = today;
}

FixedToday::~FixedToday()
{
    fixedToday = m_outer;
}

} // namespace calendar
