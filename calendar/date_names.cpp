#include "date_names.h"

#include "era_name.h"
#include "icu_text.h"

#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/smpdtfmt.h>

#include <array>
#include <memory>
#include <stdexcept>

namespace calendar {
namespace {

using detail::utf8;

// The calendar's own symbol table; a formatter is the public way to reach the Hijri one.
std::unique_ptr<icu::SimpleDateFormat> formatterFor(const char *locale)
{
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(u"d MMMM y G"),
                                                          icu::Locale(locale), status);
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("ICU: date symbols: ") + u_errorName(status));
    return format;
}

struct Names
{
    std::array<std::string, 12> months;
    std::string era;
};

Names namesOf(const char *locale)
{
    const auto format = formatterFor(locale);
    const icu::DateFormatSymbols *symbols = format->getDateFormatSymbols();
    Names names;
    int32_t count = 0;
    const icu::UnicodeString *months = symbols->getMonths(count, icu::DateFormatSymbols::FORMAT,
                                                          icu::DateFormatSymbols::WIDE);
    for (int32_t i = 0; i < count && i < 12; ++i)
        names.months[std::size_t(i)] = utf8(months[i]);
    names.era = detail::eraOfOurTime(*format);
    return names;
}

const Names &namesOf(Calendar calendar)
{
    static const Names gregorian = namesOf("ar@calendar=gregorian");
    static const Names hijri = namesOf("ar@calendar=islamic-umalqura");
    return calendar == Calendar::Hijri ? hijri : gregorian;
}

} // namespace

namespace detail {

std::string eraOfOurTime(const icu::SimpleDateFormat &format)
{
    constexpr UDate FirstOf2000 = 946684800000.0; // after both the Hijra and Christ
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Calendar> day(format.getCalendar()->clone());
    day->setTime(FirstOf2000, status);
    const int32_t era = day->get(UCAL_ERA, status);
    int32_t count = 0;
    const icu::UnicodeString *eras = format.getDateFormatSymbols()->getEras(count);
    if (U_FAILURE(status) || era < 0 || era >= count)
        throw std::runtime_error("ICU: no name for the era of our time");
    return utf8(eras[era]);
}

} // namespace detail

const std::string &monthName(Calendar calendar, int month)
{
    return namesOf(calendar).months.at(std::size_t(month - 1));
}

const std::string &eraName(Calendar calendar)
{
    return namesOf(calendar).era;
}

const std::string &weekdayName(std::chrono::weekday weekday)
{
    static const std::array<std::string, 7> names = [] {
        const auto format = formatterFor("ar@calendar=gregorian");
        int32_t count = 0;
        const icu::UnicodeString *days = format->getDateFormatSymbols()->getWeekdays(
                count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
        std::array<std::string, 7> result;
        for (int32_t i = 1; i < count && i <= 7; ++i) // ICU counts from Sunday, 1
            result[std::size_t(i - 1)] = utf8(days[i]);
        return result;
    }();
    return names[weekday.c_encoding()];
}

} // namespace calendar
