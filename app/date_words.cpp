#include "date_words.h"

#include "calendar/date_names.h"

using calendar::Calendar;

std::string yearText(Calendar calendar, int year)
{
    // The eras before are the window's own short forms on every ICU version: ICU before 78
    // names no era before the Hijra, and its Gregorian one before Christ is a longer form.
    const char *const eraBefore = calendar == Calendar::Hijri ? "ق.هـ" : "ق.م";
    return year > 0 ? std::to_string(year) + " " + calendar::eraName(calendar)
                    : std::to_string(1 - year) + " " + eraBefore;
}

std::string longDateText(const calendar::CivilDate &civil)
{
    return std::to_string(civil.day) + " " + calendar::monthName(civil.calendar, civil.month) + " "
            + yearText(civil.calendar, civil.year);
}

std::string correspondingDatesText(std::string_view weekday, std::string_view date,
                                   std::string_view otherDate)
{
    std::string sentence(weekday);
    sentence.append("، ").append(date).append(" الموافق ").append(otherDate);
    return sentence;
}
