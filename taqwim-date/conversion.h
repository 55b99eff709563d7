#pragma once

#include "output_format.h"

#include "calendar/civil_date.h"

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

    explicit Conversion(Settings settings) : m_settings(std::move(settings)) { }

    // "2026-12-08" (ISO 8601) or "8/12/2026", as the window reads its fields. Throws
    // calendar::DateError for a text that names no day.
    calendar::Date read(std::string_view dateText) const;
    // The date's line, without its line break.
    void write(std::string &out, calendar::Date date) const;

private:
    calendar::CivilDate civilDate(calendar::Date date, calendar::Calendar calendar) const;

    Settings m_settings;
};

} // namespace taqwim_date
