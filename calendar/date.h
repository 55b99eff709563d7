#pragma once

#include <chrono>
#include <compare>
#include <cstdint>

namespace calendar {

// A number of whole days, as <chrono> counts them: a Date and Days make a Date, and two Dates
// are Days apart.
using Days = std::chrono::days;

// One calendar day, the same day whichever calendar names it.
struct Date
{
    static constexpr Date fromDays(std::int64_t daysSinceEpoch) { return Date{daysSinceEpoch}; }
    // The day of the proleptic Gregorian calendar that std::chrono counts in.
    static constexpr Date fromSysDays(std::chrono::sys_days day)
    {
        return Date{day.time_since_epoch().count()};
    }
    // Days since 1970-01-01, which is day 0.
    constexpr std::int64_t days() const { return m_days; }
    constexpr std::chrono::sys_days sysDays() const { return std::chrono::sys_days(Days(m_days)); }
    constexpr std::chrono::weekday weekday() const { return std::chrono::weekday{sysDays()}; }

    friend constexpr auto operator<=>(Date, Date) = default;
    friend constexpr Date operator+(Date date, Days days)
    {
        return Date{date.m_days + days.count()};
    }
    friend constexpr Date operator-(Date date, Days days)
    {
        return Date{date.m_days - days.count()};
    }
    friend constexpr Days operator-(Date later, Date earlier)
    {
        return Days(later.m_days - earlier.m_days);
    }
    constexpr Date &operator+=(Days days)
    {
        m_days += days.count();
        return *this;
    }

private:
    constexpr explicit Date(std::int64_t days) : m_days(days) { }
    std::int64_t m_days = 0;
};

// Today by the system clock, in the local time zone.
Date localToday();

} // namespace calendar
