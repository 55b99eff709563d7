#include "era.h"

#include "program.h"

#include "calendar/date_names.h"

namespace command_line {

std::string yearWithEra(const calendar::LocaleNames &names, calendar::Calendar calendar, int year)
{
    if (names.isArabic())
        return calendar::yearText(calendar, year);
    const bool hijri = calendar == calendar::Calendar::Hijri;
    return year > 0 ? formatted(hijri ? _("%d AH") : _("%d AD"), year)
                    : formatted(hijri ? _("%d BH") : _("%d BC"), 1 - year);
}

} // namespace command_line
