#include "locale.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>

#include <clocale>
#include <memory>

namespace command_line {

std::string icuLocaleOf(std::string_view posixLocale)
{
    const std::string_view name = posixLocale.substr(0, posixLocale.find_first_of(".@"));
    if (name == "C" || name == "POSIX")
        return {};
    return std::string(name);
}

std::string timeLocale()
{
    const char *const locale = std::setlocale(LC_TIME, nullptr);
    return locale ? icuLocaleOf(locale) : std::string();
}

std::chrono::weekday firstDayOfWeek(std::string_view icuLocale)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Calendar> calendar(
            icu::Calendar::createInstance(icu::Locale(std::string(icuLocale).c_str()), status));
    const UCalendarDaysOfWeek first
            = U_SUCCESS(status) ? calendar->getFirstDayOfWeek(status) : UCAL_SUNDAY;
    return std::chrono::weekday{unsigned(U_SUCCESS(status) ? first - UCAL_SUNDAY : 0)};
}

bool readsRightToLeft(std::string_view icuLocale)
{
    return icu::Locale(std::string(icuLocale).c_str()).isRightToLeft();
}

} // namespace command_line
