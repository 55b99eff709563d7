#pragma once

#include <chrono>
#include <compare>
#include <cstdint>

namespace calendar {

// One calendar day, the same day whichever calendar names it.
struct Date
{
    static constexpr Date fromDays(std::int64_t daysSinceEpoch) { return Date{daysSinceEpoch}; }
    // Days since 1970-01-01, which is day 0.
    constexpr std::int64_t days() const { return m_days; }
    constexpr std::chrono::weekday weekday() const
    {
        return std::chrono::weekday{std::chrono::sys_days{std::chrono::days{m_days}}};
    }

    friend constexpr auto operator<=>(Date, Date) = default;
    friend constexpr Date operator+(Date date, std::int64_t days)
    {
        return Date{date.m_days + days};
    }
    friend constexpr Date operator-(Date date, std::int64_t days)
    {
        return Date{date.m_days - days};
    }
    friend constexpr std::int64_t operator-(Date later, Date earlier)
    {
        return later.m_days - earlier.m_days;
    }

private:
    constexpr explicit Date(std::int64_t days) : m_days(days) { }
    std::int64_t m_days = 0;
};

// Today by the system clock, in the local time zone.
Date localToday();

} // namespace calendar
