#pragma once

#include "calendar_page.h"
#include "occasions.h"

#include "command_line/digits.h"

#include "command_line/locale_names.h"

#include <string>

// taqwim-cal's words: the names of the months, the days and the years in the language the
// user reads dates in (LC_TIME), and the occasions' names in the language of the messages.
namespace taqwim_cal {

class Words
{
public:
    Words(const command_line::LocaleNames &names, const command_line::Digits &digits)
        : m_names(names), m_digits(digits)
    {
    }

    PageWords page() const;
    std::string number(int number) const;
    // "1445 هـ", "1445 AH".
    std::string yearText(calendar::Calendar calendar, int year) const;
    // "1445-09-01", and "-640-05-16" before the era, as taqwim-date -I writes them.
    std::string isoDate(const calendar::CivilDate &civil) const;
    // "1 رمضان 1445": a day's own name in a calendar program.
    std::string dayName(const calendar::CivilDate &civil) const;
    // "1 رمضان 1445 هـ".
    std::string longDate(const calendar::CivilDate &civil) const;
    // "18:43": the time of an instant on the local clock.
    std::string clockTime(std::int64_t instant) const;

private:
    const command_line::LocaleNames &m_names;
    command_line::Digits m_digits;
};

// In the language of the messages.
const char *occasionName(Occasion occasion);
// The name, and for a night when it begins: "Laylat al-Qadr, from 18:43" where the time of
// sunset is known, else "Laylat al-Qadr, from sunset".
std::string occasionTitle(const OccasionDay &day, const std::string &sunset = {});

} // namespace taqwim_cal
