#pragma once

#include "civil_date.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Where each Hijri month begins, as ICU reckons it in each of its reckonings. ICU works an
// Umm al-Qura date out by walking the years from 1300 AH one by one, which would cost a long
// column of dates far more than everything else the programs do; so each year's month starts
// are asked of ICU once, the first time the year is met, and kept.
namespace calendar::detail {

// The Hijri years kept: enough to hold every day of Gregorian years 1 to 9999 and of Hijri
// years 1 to 9999, with room on both sides.
inline constexpr int FirstHijriYear = -700;
inline constexpr int LastHijriYear = 10500;

// Days since 1970-01-01 of the month starts of one year; the last is the next year's first.
using YearStarts = std::array<std::int32_t, 13>;

// The month starts of the kept years, each asked of its source once, the first time it is
// needed; any thread may ask. The source is called under the cache's lock, one year at a
// time, so it need not be safe to share.
class MonthStartCache
{
public:
    using Source = std::function<YearStarts(int year)>;

    explicit MonthStartCache(Source source);

    // Throws DateError (OutOfRange) for a year that is not kept.
    const YearStarts &of(int year);

private:
    Source m_source;
    std::vector<YearStarts> m_years;
    std::unique_ptr<std::atomic<bool>[]> m_known;
    std::mutex m_filling;
};

// The first day of the month (1..12), or with 13 of the following year, in the reckoning
// given. Throws DateError (OutOfRange) for a year that is not kept.
Date hijriMonthStart(int year, int month, HijriVariant variant = HijriVariant::UmmAlQura);
CivilDate hijriCivilDate(Date date, HijriVariant variant = HijriVariant::UmmAlQura);

} // namespace calendar::detail
