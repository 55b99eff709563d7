#pragma once

#include "command_line/counting.h"
#include "command_line/digits.h"
#include "command_line/locale_names.h"
#include "command_line/moment.h"
#include "command_line/reckoning.h"

#include "calendar/civil_date.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace taqwim_date {

using command_line::Digits;

// What a format prints of one day: the date in the calendar printed and its day (for a Hijri
// date after sunset, where the day begins then, the next), and the moment it was read as, for
// the time of day; by the run's reckoning.
struct ShownDay
{
    calendar::CivilDate civil;
    calendar::Date day;
    std::chrono::weekday weekday;
    const command_line::Moment &moment;
    const command_line::Reckoning &reckoning;
};

// A +FORMAT as date(1) takes it, read once and then applied to every date of a run: its
// conversions, with GNU's flags (- _ 0 ^ #) and field widths.
class OutputFormat
{
public:
    // Throws command_line::UsageError for a conversion it does not know, or that has no
    // meaning in the calendar printed: the Gregorian year's weeks and quarters and the C
    // library's layouts of a date, for a Hijri one.
    // What a format prints: a day and its time, or the time between two days.
    enum class Subject { Moment, Elapsed };
    OutputFormat(std::string_view format, calendar::Calendar printed,
                 Subject subject = Subject::Moment);

    // Whether it prints the time of sunset, %{sunset}, which needs a place.
    bool showsSunset() const;
    // Whether it prints a time of the day or an instant, which must be one the clock showed.
    bool showsTheClock() const;

    // For Subject::Elapsed: %Y whole years, %m and %d the months and days after them,
    // %{days} all the days; numbers unpadded unless a flag or width says otherwise.
    void appendElapsed(std::string &out, const command_line::Elapsed &elapsed,
                       const Digits &digits) const;

    void appendTo(std::string &out, const ShownDay &shown, const command_line::LocaleNames &names,
                  const Digits &digits) const;

    enum class Padding { Usual, None, Zeros, Blanks };
    struct Conversion
    {
        char letter = 0; // 0: the literal text
        Padding padding = Padding::Usual;
        bool upperCase = false; // ^
        bool otherCase = false; // #: names in capitals, %p and %Z in small letters
        int width = -1; // none given
        int colons = 0; // %:z, %::z, %:::z
        std::string literal;
    };

private:
    std::vector<Conversion> m_pieces;
};

} // namespace taqwim_date
