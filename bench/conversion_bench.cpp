// One full conversion through the calendar service, against the same ICU calls made
// directly with objects built once: the difference is what the service itself costs.
#include "app/calendar_service.h"

#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <array>
#include <memory>
#include <string>

namespace {

// A different day on every iteration, as a user would convert, so that nothing computed
// for one day can serve the next.
struct DayCycle
{
    int day = 1, month = 1;
    void next()
    {
        if (++day > 28) {
            day = 1;
            month = month % 12 + 1;
        }
    }
    std::string text() const { return std::to_string(day) + "/" + std::to_string(month) + "/2024"; }
};

void serviceConversion(benchmark::State &state)
{
    using namespace calendar;
    DayCycle cycle;
    for (auto _ : state) {
        cycle.next();
        CalendarScope scope(Gregorian);
        const Date date = ParseDate(cycle.text());
        std::string source = LongDateText(date);
        const int sourceMonth = MonthOfYear(date);
        SetCalendar(Hijri);
        std::string target = LongDateText(date);
        const int targetMonth = MonthOfYear(date);
        std::string weekday = DayName(DayOfWeek(date, 7), 7);
        benchmark::DoNotOptimize(source);
        benchmark::DoNotOptimize(target);
        benchmark::DoNotOptimize(weekday);
        benchmark::DoNotOptimize(sourceMonth + targetMonth);
    }
}
BENCHMARK(serviceConversion);

struct RawCalendar
{
    std::unique_ptr<icu::Calendar> calendar;
    std::array<std::string, 12> months;
    std::string era;
};

RawCalendar makeRaw(const char *locale)
{
    UErrorCode status = U_ZERO_ERROR;
    RawCalendar raw;
    raw.calendar.reset(
            icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), locale, status));
    raw.calendar->setLenient(false);
    icu::SimpleDateFormat format(icu::UnicodeString(u"d MMMM y G"), icu::Locale(locale), status);
    int32_t count = 0;
    const icu::UnicodeString *months = format.getDateFormatSymbols()->getMonths(
            count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
    for (int i = 0; i < 12; ++i)
        months[i].toUTF8String(raw.months[i]);
    const icu::UnicodeString *eras = format.getDateFormatSymbols()->getEras(count);
    eras[count - 1].toUTF8String(raw.era);
    return raw;
}

std::string rawLongDate(RawCalendar &raw, UDate time, int &month)
{
    UErrorCode status = U_ZERO_ERROR;
    raw.calendar->setTime(time, status);
    const int day = raw.calendar->get(UCAL_DATE, status);
    month = raw.calendar->get(UCAL_MONTH, status) + 1;
    const int year = raw.calendar->get(UCAL_EXTENDED_YEAR, status);
    return std::to_string(day) + " " + raw.months[month - 1] + " " + std::to_string(year) + " "
            + raw.era;
}

void rawIcuConversion(benchmark::State &state)
{
    static RawCalendar gregorian = makeRaw("ar@calendar=gregorian");
    static RawCalendar hijri = makeRaw("ar@calendar=islamic-umalqura");
    static const std::array<std::string, 7> weekdays
            = {"السبت", "الأحد", "الاثنين", "الثلاثاء", "الأربعاء", "الخميس", "الجمعة"};
    DayCycle cycle;
    for (auto _ : state) {
        cycle.next();
        const std::string text = cycle.text(); // the same string work the service is given
        benchmark::DoNotOptimize(text);
        UErrorCode status = U_ZERO_ERROR;
        gregorian.calendar->clear();
        gregorian.calendar->set(2024, cycle.month - 1, cycle.day);
        const UDate time = gregorian.calendar->getTime(status);
        int sourceMonth = 0, targetMonth = 0;
        std::string source = rawLongDate(gregorian, time, sourceMonth);
        std::string target = rawLongDate(hijri, time, targetMonth);
        const int weekday = gregorian.calendar->get(UCAL_DAY_OF_WEEK, status) % 7;
        std::string name = weekdays[weekday];
        benchmark::DoNotOptimize(source);
        benchmark::DoNotOptimize(target);
        benchmark::DoNotOptimize(name);
        benchmark::DoNotOptimize(sourceMonth + targetMonth);
    }
}
BENCHMARK(rawIcuConversion);

} // namespace
