#pragma once

#include "output_format.h"

#include "command_line/date_text.h"
#include "command_line/locale_names.h"
#include "command_line/reckoning.h"
#include "command_line/terminal.h"

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
        std::optional<OutputFormat> format; // none: the weekday and both long dates
        Digits digits = Digits::Latin;
        // Right-to-left text in reading order, or laid out for a terminal that does not
        // reorder it.
        command_line::Layout layout = command_line::Layout::Logical;
    };

    // The names are those of the language the user reads dates in; the reckoning is the
    // run's.
    Conversion(Settings settings, const command_line::LocaleNames &names,
               const command_line::Reckoning &reckoning,
               std::function<command_line::Moment()> now = command_line::currentMoment);

    // A DATE as people write it (command_line/date_text.h). Throws
    // command_line::DateTextError for a text that names no day.
    command_line::Moment read(std::string_view dateText) const;
    // What is wrong with a text read() refused, in the user's language.
    std::string problem(std::string_view dateText, const command_line::DateTextError &error) const;
    // The moment of an instant, as -r takes a file's time.
    command_line::Moment momentAt(std::int64_t unixSeconds,
                                  std::chrono::nanoseconds fraction) const;
    // From now on, write the time from this date to each moment instead of the moment's
    // date. Throws command_line::DateTextError for a text that names no day.
    void measureFrom(std::string_view dateText);
    // The moment's line, without its line break.
    void write(std::string &out, const command_line::Moment &moment) const;

private:
    // The line in reading order.
    void writeLine(std::string &out, const command_line::Moment &moment) const;
    // "40 days: 1 month, 11 days (Islamic Calendar)", or by FORMAT.
    void writeElapsed(std::string &out, const command_line::Moment &moment) const;
    calendar::Date dayIn(calendar::Calendar calendar, const command_line::Moment &moment) const;

    Settings m_settings;
    const command_line::LocaleNames &m_names;
    command_line::DateReading m_reading;
    std::optional<command_line::Moment> m_since;
};

} // namespace taqwim_date
