#pragma once

#include "command_line/digits.h"
#include "command_line/moment.h"

#include "calendar/civil_date.h"
#include "calendar/locale_names.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace taqwim_date {

using command_line::Digits;

// What a format prints of one day: the date in the calendar printed, the day that date names
// in it (--adjust moves a Hijri one), and the moment it was read as, for the time of day.
struct ShownDay
{
    calendar::CivilDate civil;
    calendar::Date day;
    std::chrono::weekday weekday;
    const command_line::Moment &moment;
};

// A +FORMAT as date(1) takes it, read once and then applied to every date of a run: its
// conversions, with GNU's flags (- _ 0 ^ #) and field widths.
class OutputFormat
{
public:
    // Throws command_line::UsageError for a conversion it does not know or that has no
    // meaning for a Hijri date.
    explicit OutputFormat(std::string_view format);

    void appendTo(std::string &out, const ShownDay &shown, const calendar::LocaleNames &names,
                  Digits digits) const;

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
