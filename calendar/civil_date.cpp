#include "civil_date.h"

#include "date_error.h"
#include "hijri_months.h"

#include <array>
#include <tuple>

namespace calendar {
namespace {

using namespace std::chrono;

// Julian day number of 1970-01-01, the day Date counts from.
constexpr std::int64_t UnixEpochJulianDay = 2440588;
// 15 October 1582, the first Gregorian day; the day before was 4 October (Julian).
constexpr std::int64_t ReformDay = -141427;

// Past these years the arithmetic would overflow long before it meant anything.
constexpr int EarliestGregorianYear = -1000;
constexpr int LatestGregorianYear = 12000;

bool isJulianLeapYear(int year)
{
    return year % 4 == 0;
}

bool beforeReform(const CivilDate &civil)
{
    return std::tie(civil.year, civil.month, civil.day)
            < std::tie(FirstGregorianDate.year, FirstGregorianDate.month, FirstGregorianDate.day);
}

// The usual Julian day number arithmetic, counted from March so that the leap day ends the
// year; every quotient stays positive for years after -4800.
std::int64_t julianCalendarDays(const CivilDate &civil)
{
    const std::int64_t a = (14 - civil.month) / 12;
    const std::int64_t y = civil.year + 4800 - a;
    const std::int64_t m = civil.month + 12 * a - 3;
    return civil.day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083 - UnixEpochJulianDay;
}

CivilDate julianCalendarCivil(Date date)
{
    const std::int64_t c = date.days() + UnixEpochJulianDay + 32082;
    const std::int64_t d = (4 * c + 3) / 1461;
    const std::int64_t e = c - 1461 * d / 4;
    const std::int64_t m = (5 * e + 2) / 153;
    return {.calendar = Calendar::Gregorian,
            .year = int(d - 4800 + m / 10),
            .month = int(m + 3 - 12 * (m / 10)),
            .day = int(e - (153 * m + 2) / 5 + 1)};
}

void checkSupported(Date date)
{
    if (date < detail::hijriMonthStart(detail::FirstHijriYear, 1)
        || date >= detail::hijriMonthStart(detail::LastHijriYear, 13))
        throw DateError(DateFault::OutOfRange, {});
}

CivilDate gregorianCivil(Date date)
{
    if (date.days() < ReformDay)
        return julianCalendarCivil(date);
    const year_month_day civil{date.sysDays()};
    return {.calendar = Calendar::Gregorian,
            .year = int(civil.year()),
            .month = int(unsigned(civil.month())),
            .day = int(unsigned(civil.day()))};
}

int gregorianLastDay(int year, int month)
{
    if (std::tuple(year, month) >= std::tie(FirstGregorianDate.year, FirstGregorianDate.month))
        return int(unsigned(year_month_day_last{std::chrono::year{year},
                                                month_day_last{std::chrono::month{unsigned(month)}}}
                                    .day()));
    static constexpr std::array<int, 12> lengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isJulianLeapYear(year) ? 29 : lengths[std::size_t(month - 1)];
}

std::optional<Date> gregorianDate(const CivilDate &civil)
{
    if (civil.year < EarliestGregorianYear || civil.year > LatestGregorianYear
        || civil.day > gregorianLastDay(civil.year, civil.month))
        return std::nullopt;
    if (!beforeReform(civil)) {
        const year_month_day day{year{civil.year}, month{unsigned(civil.month)},
                                 std::chrono::day{unsigned(civil.day)}};
        return Date::fromSysDays(sys_days{day});
    }
    const Date date = Date::fromDays(julianCalendarDays(civil));
    // 5 to 14 October 1582 count on past the reform.
    return date.days() < ReformDay ? std::optional(date) : std::nullopt;
}

} // namespace

CivilDate civilDate(Date date, Calendar calendar)
{
    checkSupported(date);
    return calendar == Calendar::Hijri ? detail::hijriCivilDate(date) : gregorianCivil(date);
}

int lastDayOfMonth(Calendar calendar, int year, int month)
{
    if (calendar == Calendar::Hijri)
        return int((detail::hijriMonthStart(year, month + 1) - detail::hijriMonthStart(year, month))
                           .count());
    return gregorianLastDay(year, month);
}

std::optional<Date> dateOf(const CivilDate &civil)
{
    if (civil.month < 1 || civil.month > 12 || civil.day < 1)
        return std::nullopt;
    if (civil.calendar == Calendar::Hijri) {
        if (civil.year < detail::FirstHijriYear || civil.year > detail::LastHijriYear
            || civil.day > lastDayOfMonth(Calendar::Hijri, civil.year, civil.month))
            return std::nullopt;
        return detail::hijriMonthStart(civil.year, civil.month) + Days{civil.day - 1};
    }
    return gregorianDate(civil);
}

const CivilCalendars &plainCalendars()
{
    struct Plain final : CivilCalendars
    {
        CivilDate civilDate(Date date, Calendar calendar) const override
        {
            return calendar::civilDate(date, calendar);
        }
        std::optional<Date> dateOf(const CivilDate &civil) const override
        {
            return calendar::dateOf(civil);
        }
        int lastDayOfMonth(Calendar calendar, int year, int month) const override
        {
            return calendar::lastDayOfMonth(calendar, year, month);
        }
    };
    static const Plain plain;
    return plain;
}

} // namespace calendar
