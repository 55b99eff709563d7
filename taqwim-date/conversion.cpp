#include "conversion.h"

#include "command_line/era.h"
#include "command_line/program.h"

#include "calendar/date_names.h"

namespace taqwim_date {

using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;
using command_line::formatted;

Conversion::Conversion(Settings settings, const calendar::LocaleNames &names,
                       std::function<command_line::Moment()> now)
    : m_settings(std::move(settings)),
      m_names(names), m_reading{m_settings.input, m_settings.hijriShift, std::move(now)}
{
}

command_line::Moment Conversion::read(std::string_view dateText) const
{
    return command_line::readDate(dateText, m_reading);
}

std::string Conversion::problem(std::string_view dateText,
                                const command_line::DateTextError &error) const
{
    return command_line::dateProblem(dateText, error, m_reading);
}

// The day whose date in the calendar a date is given: --adjust moves the Hijri calendar.
Date Conversion::reckonedDay(Date date, Calendar calendar) const
{
    return calendar == Calendar::Hijri ? date + calendar::Days{m_settings.hijriShift} : date;
}

CivilDate Conversion::civilDate(Date date, Calendar calendar) const
{
    return calendar::civilDate(reckonedDay(date, calendar), calendar);
}

// "1 Ramadan 1445 AH", with the era's words from the catalogue.
std::string Conversion::longDate(const CivilDate &civil) const
{
    return std::to_string(civil.day) + " " + m_names.month(civil.calendar, civil.month) + " "
            + command_line::yearWithEra(m_names, civil.calendar, civil.year);
}

void Conversion::write(std::string &out, const command_line::Moment &moment) const
{
    const std::chrono::weekday weekday = moment.day.weekday();
    if (m_settings.format) {
        const Date day = reckonedDay(moment.day, m_settings.printed);
        m_settings.format->appendTo(
                out, {calendar::civilDate(day, m_settings.printed), day, weekday, moment}, m_names,
                m_settings.digits);
        return;
    }
    const CivilDate hijri = civilDate(moment.day, Calendar::Hijri);
    const CivilDate gregorian = civilDate(moment.day, Calendar::Gregorian);
    // Under Arabic the window's own line, word for word: "Tuesday, <Hijri date>, corresponding
    // to <Gregorian date>", read right to left.
    const std::string line = m_names.isArabic()
            ? calendar::correspondingDatesText(calendar::weekdayName(weekday),
                                               calendar::longDateText(hijri),
                                               calendar::longDateText(gregorian))
            : formatted(_("%s, %s, which is %s"), m_names.weekday(weekday).c_str(),
                        longDate(hijri).c_str(), longDate(gregorian).c_str());
    out += command_line::withDigits(line, m_settings.digits);
}

} // namespace taqwim_date
