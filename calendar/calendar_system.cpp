#include "calendar_system.h"

#include <unicode/dtfmtsym.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <optional>

namespace calendar::detail {
namespace {

constexpr double MillisecondsPerDay = 86400000.0;

std::string utf8(const icu::UnicodeString &text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

void check(UErrorCode status, const char *what)
{
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("ICU: ") + what + ": " + u_errorName(status));
}

// The calendar's own symbol table; a formatter is the public way to reach the Hijri one.
std::unique_ptr<icu::SimpleDateFormat> formatterFor(const icu::Locale &locale)
{
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(u"d MMMM y G"), locale,
                                                          status);
    check(status, "date symbols");
    return format;
}

} // namespace

CalendarSystem::CalendarSystem(const char *icuLocale, std::string eraBefore)
    : m_eraBefore(std::move(eraBefore))
{
    const icu::Locale locale(icuLocale);
    UErrorCode status = U_ZERO_ERROR;
    // Days are whole UTC days, so the calendar must never shift them by a time zone.
    m_calendar.reset(
            icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), locale, status));
    check(status, icuLocale);
    // Strict field checks: a lenient calendar would quietly read 31 February as 3 March.
    m_calendar->setLenient(false);

    const auto format = formatterFor(locale);
    const icu::DateFormatSymbols *symbols = format->getDateFormatSymbols();
    int32_t count = 0;
    const icu::UnicodeString *months = symbols->getMonths(count, icu::DateFormatSymbols::FORMAT,
                                                          icu::DateFormatSymbols::WIDE);
    for (int32_t i = 0; i < count && i < 12; ++i)
        m_monthNames[i] = utf8(months[i]);
    const icu::UnicodeString *eras = symbols->getEras(count);
    m_era = utf8(eras[count - 1]);
}

CivilDate CalendarSystem::civilDate(Date date) const
{
    if (m_lastDay && m_lastDay->first == date)
        return m_lastDay->second;
    UErrorCode status = U_ZERO_ERROR;
    m_calendar->setTime(static_cast<double>(date.days()) * MillisecondsPerDay, status);
    CivilDate civil{m_calendar->get(UCAL_EXTENDED_YEAR, status),
                    m_calendar->get(UCAL_MONTH, status) + 1, m_calendar->get(UCAL_DATE, status)};
    if (U_FAILURE(status))
        throw DateError("هذا التاريخ خارج المدى الذي يحسبه البرنامج.");
    m_lastDay.emplace(date, civil);
    return civil;
}

std::optional<Date> CalendarSystem::dateOf(CivilDate civil) const
{
    UErrorCode status = U_ZERO_ERROR;
    m_calendar->clear();
    m_calendar->set(UCAL_EXTENDED_YEAR, civil.year);
    m_calendar->set(UCAL_MONTH, civil.month - 1);
    m_calendar->set(UCAL_DATE, civil.day);
    const double milliseconds = m_calendar->getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    const Date date = Date::fromDays(std::llround(std::floor(milliseconds / MillisecondsPerDay)));
    // A day that the 1582 reform skipped resolves to another day; reading it back tells.
    const CivilDate back = civilDate(date);
    if (back.year != civil.year || back.month != civil.month || back.day != civil.day)
        return std::nullopt;
    return date;
}

int CalendarSystem::monthLength(int year, int month) const
{
    UErrorCode status = U_ZERO_ERROR;
    m_calendar->clear();
    m_calendar->set(UCAL_EXTENDED_YEAR, year);
    m_calendar->set(UCAL_MONTH, month - 1);
    m_calendar->set(UCAL_DATE, 1);
    const int length = m_calendar->getActualMaximum(UCAL_DATE, status);
    check(status, "month length");
    return length;
}

std::string CalendarSystem::yearText(int year) const
{
    return year > 0 ? std::to_string(year) + " " + m_era
                    : std::to_string(1 - year) + " " + m_eraBefore;
}

const CalendarSystem &system(int calendar)
{
    static const CalendarSystem gregorian("ar@calendar=gregorian", "ق.م");
    static const CalendarSystem hijri("ar@calendar=islamic-umalqura", "ق.هـ");
    return calendar == Hijri ? hijri : gregorian;
}

const std::string &weekdayName(int sundayBasedWeekday)
{
    static const std::array<std::string, 8> names = [] {
        const auto format = formatterFor(icu::Locale("ar@calendar=gregorian"));
        int32_t count = 0;
        const icu::UnicodeString *days = format->getDateFormatSymbols()->getWeekdays(
                count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
        std::array<std::string, 8> result;
        for (int32_t i = 1; i < count && i < 8; ++i)
            result[i] = utf8(days[i]);
        return result;
    }();
    return names.at(sundayBasedWeekday);
}

} // namespace calendar::detail
