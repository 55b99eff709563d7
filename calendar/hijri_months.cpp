#include "hijri_months.h"

#include "date_error.h"

#include <unicode/calendar.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace calendar::detail {
namespace {

constexpr double MillisecondsPerDay = 86400000.0;
constexpr std::size_t KeptYears = LastHijriYear - FirstHijriYear + 1;

[[noreturn]] void outOfRange()
{
    throw DateError(DateFault::OutOfRange, {.calendar = Calendar::Hijri});
}

const char *icuCalendarOf(HijriVariant variant)
{
    switch (variant) {
    case HijriVariant::UmmAlQura:
        return "@calendar=islamic-umalqura";
    case HijriVariant::Civil:
        return "@calendar=islamic-civil";
    case HijriVariant::Tabular:
        break;
    }
    return "@calendar=islamic-tbla";
}

// ICU's Hijri calendar of a reckoning, asked for the first days of one year's months at a
// time.
class IcuMonthStarts
{
public:
    explicit IcuMonthStarts(HijriVariant variant)
    {
        UErrorCode status = U_ZERO_ERROR;
        // Whole UTC days, never shifted by a time zone.
        m_calendar.reset(icu::Calendar::createInstance(
                icu::TimeZone::getGMT()->clone(), icu::Locale(icuCalendarOf(variant)), status));
        if (U_FAILURE(status))
            throw std::runtime_error(std::string("ICU: Hijri calendar: ") + u_errorName(status));
        // A strict ICU calendar refuses the years before the Hijra, which the Gregorian
        // days before 622 need; every day asked for here is the first of a month anyway.
        m_calendar->setLenient(true);
    }

    YearStarts of(int year)
    {
        YearStarts starts{};
        for (int month = 0; month < 12; ++month)
            starts[std::size_t(month)] = firstDayOf(year, month);
        starts[12] = firstDayOf(year + 1, 0);
        return starts;
    }

private:
    std::int32_t firstDayOf(int year, int icuMonth)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_calendar->clear();
        m_calendar->set(UCAL_EXTENDED_YEAR, year);
        m_calendar->set(UCAL_MONTH, icuMonth);
        m_calendar->set(UCAL_DATE, 1);
        const double milliseconds = m_calendar->getTime(status);
        if (U_FAILURE(status))
            outOfRange();
        return std::int32_t(std::floor(milliseconds / MillisecondsPerDay));
    }

    std::unique_ptr<icu::Calendar> m_calendar;
};

template<HijriVariant Variant> MonthStartCache &monthStartsOf()
{
    static MonthStartCache starts(
            [icu = std::make_shared<IcuMonthStarts>(Variant)](int year) { return icu->of(year); });
    return starts;
}

// Each reckoning's cache is made the first time it is asked for.
MonthStartCache &monthStarts(HijriVariant variant)
{
    switch (variant) {
    case HijriVariant::UmmAlQura:
        return monthStartsOf<HijriVariant::UmmAlQura>();
    case HijriVariant::Civil:
        return monthStartsOf<HijriVariant::Civil>();
    case HijriVariant::Tabular:
        break;
    }
    return monthStartsOf<HijriVariant::Tabular>();
}

// A first guess at the Hijri year of a day, at most a year off: a Hijri year is 10631/30
// days long on average, counted from 16 July 622 (Julian).
int guessYear(Date date)
{
    constexpr std::int64_t FirstDayOfHijra = -492148;
    const std::int64_t elapsed = (date.days() - FirstDayOfHijra) * 30;
    const std::int64_t years = elapsed >= 0 ? elapsed / 10631 : -((-elapsed + 10630) / 10631);
    return int(std::clamp<std::int64_t>(years + 1, FirstHijriYear, LastHijriYear));
}

} // namespace

MonthStartCache::MonthStartCache(Source source)
    : m_source(std::move(source)), m_years(KeptYears),
      m_known(std::make_unique<std::atomic<bool>[]>(KeptYears))
{
}

const YearStarts &MonthStartCache::of(int year)
{
    if (year < FirstHijriYear || year > LastHijriYear)
        outOfRange();
    const std::size_t index = std::size_t(year - FirstHijriYear);
    if (!m_known[index].load(std::memory_order_acquire)) {
        const std::lock_guard lock(m_filling);
        if (!m_known[index].load(std::memory_order_relaxed)) {
            m_years[index] = m_source(year);
            m_known[index].store(true, std::memory_order_release);
        }
    }
    return m_years[index];
}

Date hijriMonthStart(int year, int month, HijriVariant variant)
{
    return Date::fromDays(monthStarts(variant).of(year).at(std::size_t(month - 1)));
}

CivilDate hijriCivilDate(Date date, HijriVariant variant)
{
    MonthStartCache &starts = monthStarts(variant);
    int year = guessYear(date);
    while (date.days() < starts.of(year).front())
        --year;
    while (date.days() >= starts.of(year).back())
        ++year;
    const YearStarts &months = starts.of(year);
    const auto next = std::upper_bound(months.begin(), months.end() - 1, date.days());
    const int month = int(next - months.begin());
    return {.calendar = Calendar::Hijri,
            .year = year,
            .month = month,
            .day = int(date.days() - months[std::size_t(month - 1)]) + 1};
}

} // namespace calendar::detail
