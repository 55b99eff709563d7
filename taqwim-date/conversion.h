#pragma once

#include "output_format.h"

#include "command_line/date_text.h"

#include "calendar/civil_date.h"
#include "calendar/locale_names.h"

#include <optional>
#include <string>
#include <string_view>

namespace taqwim_date {

// What one run does with every date it is given: reads it in the calendar it is written in,
// and writes its line.
class Conversion
{
public:
    struct Settings
    {
        calendar::Calendar input = calendar::Calendar::Gregorian;
        calendar::Calendar printed = calendar::Calendar::Hijri; // by FORMAT
        // Whole days the Hijri calendar is moved by, for countries that begin their months a
        // day or two apart from Umm al-Qura: with 1 every day takes the Hijri date that
        // Umm al-Qura gives the next day.
        int hijriShift = 0;
        std::optional<OutputFormat> format; // none: the weekday and both long dates
        Digits digits = Digits::Latin;
    };

    // The names are those of the language the user reads dates in.
    Conversion(Settings settings, const calendar::LocaleNames &names,
               std::function<command_line::Moment()> now = command_line::currentMoment);

    // A DATE as people write it (command_line/date_text.h). Throws
    // command_line::DateTextError for a text that names no day.
    command_line::Moment read(std::string_view dateText) const;
    // What is wrong with a text read() refused, in the user's language.
    std::string problem(std::string_view dateText, const command_line::DateTextError &error) const;
    // The moment's line, without its line break.
    void write(std::string &out, const command_line::Moment &moment) const;

private:
    calendar::Date reckonedDay(calendar::Date date, calendar::Calendar calendar) const;
    calendar::CivilDate civilDate(calendar::Date date, calendar::Calendar calendar) const;
    std::string longDate(const calendar::CivilDate &civil) const;

    Settings m_settings;
    const calendar::LocaleNames &m_names;
    command_line::DateReading m_reading;
};

} // namespace taqwim_date
