// Every day from 1 January 1 to the last day of 9999 AH, named by the calendar library and by
// ICU working it out from the day itself, in both calendars. The tests ask ICU that question
// only of a sample, because for far Hijri years ICU walks every year from 1300 AH and the
// whole walk takes minutes; here it is done in full, the two calendars side by side.
#include "calendar/civil_date.h"

#include <unicode/calendar.h>
#include <unicode/timezone.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>

using namespace calendar;

namespace {

long disagreements(Calendar calendar, Date first, Date last)
{
    UErrorCode status = U_ZERO_ERROR;
    const char *locale
            = calendar == Calendar::Hijri ? "@calendar=islamic-umalqura" : "@calendar=gregorian";
    const std::unique_ptr<icu::Calendar> icu(
            icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), locale, status));
    long differing = 0;
    for (Date date = first; date <= last; date += calendar::Days{1}) {
        icu->setTime(double(date.days()) * 86400000.0, status);
        const CivilDate named{calendar, icu->get(UCAL_EXTENDED_YEAR, status),
                              icu->get(UCAL_MONTH, status) + 1, icu->get(UCAL_DATE, status)};
        if (U_FAILURE(status) || civilDate(date, calendar) != named) {
            if (++differing <= 10)
                std::printf("%s day %lld: ICU says %d/%d/%d\n",
                            calendar == Calendar::Hijri ? "Hijri" : "Gregorian",
                            static_cast<long long>(date.days()), named.day, named.month,
                            named.year);
            status = U_ZERO_ERROR;
        }
    }
    return differing;
}

} // namespace

int main()
{
    const Date first = *dateOf({Calendar::Gregorian, 1, 1, 1});
    const Date last = *dateOf({Calendar::Hijri, 9999, 12, 29});
    const auto start = std::chrono::steady_clock::now();
    long hijri = 0, gregorian = 0;
    std::thread hijriWalk([&] { hijri = disagreements(Calendar::Hijri, first, last); });
    gregorian = disagreements(Calendar::Gregorian, first, last);
    hijriWalk.join();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%lld days in each calendar, walked in %.0f s: %ld Gregorian and %ld Hijri "
                "days differ from ICU\n",
                static_cast<long long>((last - first).count() + 1), took.count(), gregorian, hijri);
    return gregorian + hijri == 0 ? 0 : 1;
}
