// The calendar arithmetic against ICU, which both programs take their dates from: every day
// of years 1 to 9999 of both calendars.
#include "calendar/civil_date.h"
#include "calendar/date_error.h"
#include "calendar/hijri_months.h"

#include <gtest/gtest.h>
#include <unicode/calendar.h>
#include <unicode/timezone.h>

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>

using namespace calendar;

namespace {

constexpr double MillisecondsPerDay = 86400000.0;

std::string text(const CivilDate &c)
{
    return std::to_string(c.day) + "/" + std::to_string(c.month) + "/" + std::to_string(c.year);
}

// ICU asked directly, one question at a time.
class Icu
{
public:
    explicit Icu(Calendar calendar) : m_calendar(calendar)
    {
        UErrorCode status = U_ZERO_ERROR;
        const char *locale = calendar == Calendar::Hijri ? "@calendar=islamic-umalqura"
                                                         : "@calendar=gregorian";
        m_icu.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(),
                                                  icu::Locale(locale), status));
        EXPECT_TRUE(U_SUCCESS(status));
        m_icu->setLenient(false);
    }

    Date dateOf(const CivilDate &civil)
    {
        setFields(civil.year, civil.month, civil.day);
        UErrorCode status = U_ZERO_ERROR;
        const double milliseconds = m_icu->getTime(status);
        EXPECT_TRUE(U_SUCCESS(status)) << text(civil);
        return Date::fromDays(std::int64_t(std::floor(milliseconds / MillisecondsPerDay)));
    }

    // A strict ICU calendar refuses a day past the month's end. (getActualMaximum would be
    // the direct question, but ICU answers it by working out a whole date.)
    bool hasDay(const CivilDate &civil)
    {
        setFields(civil.year, civil.month, civil.day);
        UErrorCode status = U_ZERO_ERROR;
        m_icu->getTime(status);
        return U_SUCCESS(status);
    }

    CivilDate civilDate(Date date)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_icu->setTime(double(date.days()) * MillisecondsPerDay, status);
        return {m_calendar, m_icu->get(UCAL_EXTENDED_YEAR, status),
                m_icu->get(UCAL_MONTH, status) + 1, m_icu->get(UCAL_DATE, status)};
    }

private:
    void setFields(int year, int month, int day)
    {
        m_icu->clear();
        m_icu->set(UCAL_EXTENDED_YEAR, year);
        m_icu->set(UCAL_MONTH, month - 1);
        m_icu->set(UCAL_DATE, day);
    }

    Calendar m_calendar;
    std::unique_ptr<icu::Calendar> m_icu;
};

bool skippedByReform(const CivilDate &c)
{
    return c.calendar == Calendar::Gregorian && c.year == 1582 && c.month == 10 && c.day >= 5
            && c.day <= 14;
}

// Every day of years 1 to 9999, month by month: the month's length, the day ICU names, and
// the civil date read back, one day after the other with none left out.
void walkEveryDay(Calendar calendar)
{
    Icu icu(calendar);
    std::optional<Date> previous;
    for (int year = 1; year <= 9999; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const int lastDay = lastDayOfMonth(calendar, year, month);
            ASSERT_FALSE(icu.hasDay({calendar, year, month, lastDay + 1}))
                    << month << "/" << year << " ends on " << lastDay;
            for (int day = 1; day <= lastDay; ++day) {
                const CivilDate civil{calendar, year, month, day};
                const std::optional<Date> date = dateOf(civil);
                if (!date) {
                    ASSERT_TRUE(skippedByReform(civil)) << text(civil);
                    continue;
                }
                ASSERT_EQ(*date, icu.dateOf(civil)) << text(civil);
                ASSERT_EQ(civilDate(*date, calendar), civil) << text(civil);
                if (previous) {
                    ASSERT_EQ(*date, *previous + Days{1}) << text(civil);
                }
                previous = date;
            }
        }
    }
}

// ICU working a day's name out from the day itself is slow for far Hijri years (it walks
// from 1300 AH), so here every 997th day; bench/ walks them all.
void compareSampledDays(Calendar calendar, Date first, Date last, Days step)
{
    Icu icu(calendar);
    for (Date date = first; date <= last; date += step) {
        ASSERT_EQ(civilDate(date, calendar), icu.civilDate(date)) << date.days();
    }
}

} // namespace

TEST(CivilDate, EveryGregorianDayAgreesWithIcu)
{
    walkEveryDay(Calendar::Gregorian);
}

TEST(CivilDate, EveryHijriDayAgreesWithIcu)
{
    walkEveryDay(Calendar::Hijri);
}

TEST(CivilDate, DaysReadBackAsIcuNamesThem)
{
    const Date first = *dateOf({Calendar::Gregorian, 1, 1, 1});
    const Date last = *dateOf({Calendar::Hijri, 9999, 12, 29});
    for (const Calendar calendar : {Calendar::Gregorian, Calendar::Hijri})
        compareSampledDays(calendar, first, last, Days{997});
    // Every day of the years people convert most, and of the years before the Hijra.
    compareSampledDays(Calendar::Hijri, *dateOf({Calendar::Hijri, 1440, 1, 1}),
                       *dateOf({Calendar::Hijri, 1450, 1, 1}), Days{1});
    compareSampledDays(Calendar::Hijri, first, first + Days{800}, Days{1});
}

TEST(MonthStartCache, AsksForEachKeptYearOnceAndForNoOtherYear)
{
    using namespace calendar::detail;
    std::map<int, int> asked;
    MonthStartCache cache([&asked](int year) {
        ++asked[year];
        YearStarts starts{};
        starts.fill(year);
        return starts;
    });
    // Both ends of the kept years, which the sanitizer run would see read past the store.
    const std::map<int, int> once = {{FirstHijriYear, 1}, {1446, 1}, {LastHijriYear, 1}};
    for (int pass = 0; pass < 2; ++pass)
        for (const auto &[year, times] : once)
            EXPECT_EQ(cache.of(year)[12], year);
    for (const int year : {FirstHijriYear - 1, LastHijriYear + 1}) {
        try {
            cache.of(year);
            ADD_FAILURE() << year << " is kept";
        } catch (const DateError &error) {
            EXPECT_EQ(error.fault(), DateFault::OutOfRange) << year;
        }
    }
    EXPECT_EQ(asked, once);
}
