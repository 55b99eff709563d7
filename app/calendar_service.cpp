#include "calendar_service.h"

#include "date_words.h"

#include "calendar/date_names.h"
#include "calendar/valid_date.h"

#include <array>
#include <optional>

namespace calendar {
namespace {

int currentCalendar = Gregorian;
std::optional<Date> fixedToday;

Calendar current()
{
    return currentCalendar == Hijri ? Calendar::Hijri : Calendar::Gregorian;
}

CivilDate inCurrentCalendar(Date date)
{
    return civilDate(date, current());
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
    return inCurrentCalendar(date).day;
}

int MonthOfYear(Date date)
{
    return inCurrentCalendar(date).month;
}

int YearOf(Date date)
{
    return inCurrentCalendar(date).year;
}

Date ParseDate(std::string_view utf8Text)
{
    static const std::array<AcceptedDays, 2> years{AcceptedDays::ofEveryYear(Calendar::Gregorian),
                                                   AcceptedDays::ofEveryYear(Calendar::Hijri)};
    return years[std::size_t(current())].validDateOf(readCivilDate(utf8Text, current()));
}

void CheckDateField(std::string_view utf8Text, DateField field)
{
    checkDateField(utf8Text, field);
}

std::string LongDateText(Date date)
{
    return longDateText(inCurrentCalendar(date));
}

int DayOfWeek(Date date, int firstDay)
{
    checkFirstDay(firstDay);
    const int sundayBased = int(date.weekday().c_encoding()) + 1;
    return (sundayBased - firstDay + 7) % 7 + 1;
}

std::string DayName(int weekday, int firstDay)
{
    checkFirstDay(firstDay);
    if (weekday < 1 || weekday > 7)
        throw std::invalid_argument("weekday must be 1..7");
    return weekdayName(std::chrono::weekday(unsigned(weekday - 1 + firstDay - 1) % 7));
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
