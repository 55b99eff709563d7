#include "date_writing.h"

#include "program.h"

namespace command_line {

using calendar::Calendar;

void appendIsoDate(std::string &out, const calendar::CivilDate &civil, const Digits &digits,
                   int yearWidth, char yearPadding)
{
    appendNumber(out, civil.year, yearWidth, yearPadding, digits);
    appendSeparator(out, '-', digits);
    appendNumber(out, civil.month, 2, '0', digits);
    appendSeparator(out, '-', digits);
    appendNumber(out, civil.day, 2, '0', digits);
}

std::string isoDate(const calendar::CivilDate &civil, const Digits &digits)
{
    std::string out;
    appendIsoDate(out, civil, digits);
    return out;
}

std::string hoursAndMinutes(std::chrono::seconds timeOfDay, const Digits &digits)
{
    std::string out;
    appendNumber(out, timeOfDay.count() / 3600, 2, '0', digits);
    out += ':';
    appendNumber(out, timeOfDay.count() / 60 % 60, 2, '0', digits);
    return out;
}

std::string yearWithEra(const LocaleNames &names, Calendar calendar, int year, const Digits &digits)
{
    const bool before = year <= 0;
    const int counted = before ? 1 - year : year;
    if (const std::string *era = names.eraName(calendar, before))
        return withDigits(std::to_string(counted) + " " + *era, digits);
    // TRANSLATORS: a year counted back from the Hijra, as "641 BH" (before the Hijra).
    // xgettext:c-format
    if (const char *const beforeTheHijra = timeWord("%d BH"))
        return withDigits(formatted(beforeTheHijra, counted), digits);
    return withDigits(std::to_string(year), digits); // numbered as astronomers do, in no words
}

std::string longDate(const calendar::CivilDate &civil, const LocaleNames &names,
                     const Digits &digits)
{
    return withDigits(std::to_string(civil.day), digits) + " "
            + names.month(civil.calendar, civil.month) + " "
            + yearWithEra(names, civil.calendar, civil.year, digits);
}

} // namespace command_line
