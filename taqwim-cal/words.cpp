#include "words.h"

#include "terminal_text.h"

#include "command_line/date_writing.h"
#include "command_line/program.h"

namespace taqwim_cal {

using calendar::Calendar;
using command_line::NameWidth;

PageWords Words::page() const
{
    PageWords words{
            .monthName
            = [this](Calendar calendar, int month) { return m_names.month(calendar, month); },
            .shortMonthName
            = [this](Calendar calendar,
                     int month) { return m_names.month(calendar, month, NameWidth::Abbreviated); },
            .yearText = [this](Calendar calendar, int year) { return yearText(calendar, year); },
            .number = [this](int n) { return number(n); },
            .weekdayHeads = {},
    };
    // A grid's column is two cells wide: the short names where they all fit, as "Su Mo Tu";
    // else the narrow ones, as Arabic's single letters.
    bool shortFit = true;
    for (unsigned day = 0; day < 7; ++day)
        shortFit = shortFit
                && cellWidth(m_names.weekday(std::chrono::weekday{day}, NameWidth::Short)) <= 2;
    for (unsigned day = 0; day < 7; ++day)
        words.weekdayHeads[day] = m_names.weekday(std::chrono::weekday{day},
                                                  shortFit ? NameWidth::Short : NameWidth::Narrow);
    return words;
}

std::string Words::number(int number) const
{
    return command_line::withDigits(std::to_string(number), m_digits);
}

std::string Words::yearText(Calendar calendar, int year) const
{
    return command_line::yearWithEra(m_names, calendar, year, m_digits);
}

std::string Words::isoDate(const calendar::CivilDate &civil) const
{
    return command_line::isoDate(civil, m_digits);
}

std::string Words::dayName(const calendar::CivilDate &civil) const
{
    return number(civil.day) + " " + m_names.month(civil.calendar, civil.month) + " "
            + number(civil.year);
}

std::string Words::longDate(const calendar::CivilDate &civil) const
{
    return command_line::longDate(civil, m_names, m_digits);
}

const char *occasionName(Occasion occasion)
{
    switch (occasion) {
    case Occasion::IslamicNewYear:
        return _("Islamic New Year");
    case Occasion::Ashura:
        return _("Ashura");
    case Occasion::ProphetsBirthday:
        return _("The Prophet's Birthday");
    case Occasion::IsraAndMiraj:
        return _("Isra and Mi'raj");
    case Occasion::MidShaban:
        return _("Mid-Sha'ban");
    case Occasion::FirstOfRamadan:
        return _("First of Ramadan");
    case Occasion::LaylatAlQadr:
        return _("Laylat al-Qadr");
    case Occasion::EidAlFitr:
        return _("Eid al-Fitr");
    case Occasion::DayOfArafah:
        return _("Day of Arafah");
    case Occasion::EidAlAdha:
        break;
    }
    return _("Eid al-Adha");
}

} // namespace taqwim_cal
