#include "output_format.h"

#include "command_line/date_writing.h"
#include "command_line/program.h"

#include "calendar/numerals.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace taqwim_date {
namespace {

using calendar::CivilDate;
using command_line::appendNumber;
using command_line::formatted;
using command_line::LocaleNames;
using command_line::quotedText;
using command_line::Sign;
using command_line::UsageError;
using Conversion = OutputFormat::Conversion;
using Padding = OutputFormat::Padding;

// More would only fill memory, a line at a time.
constexpr int WidestField = 1000;

// %{sunset}: the time the sun sets on the day, where the place is known. Braces, as no letter
// date(1) leaves free would say it.
constexpr std::string_view SunsetName = "{sunset}";
constexpr char SunsetLetter = '{';

int dayOfYear(const ShownDay &shown)
{
    const calendar::Date newYear
            = shown.reckoning.monthStart(shown.civil.calendar, shown.civil.year, 1);
    return int((shown.day - newYear).count()) + 1;
}

int widthOf(const Conversion &piece, int usualWidth)
{
    return piece.padding == Padding::None ? 0 : piece.width >= 0 ? piece.width : usualWidth;
}

char paddingOf(const Conversion &piece, char usualPadding)
{
    return piece.padding == Padding::Zeros     ? '0'
            : piece.padding == Padding::Blanks ? ' '
                                               : usualPadding;
}

// A number with the conversion's flags and width, or the conversion's own ones.
void appendField(std::string &out, const Conversion &piece, long long value, int usualWidth,
                 char usualPadding, const Digits &digits, Sign sign = Sign::IfNegative)
{
    appendNumber(out, value, widthOf(piece, usualWidth), paddingOf(piece, usualPadding), digits,
                 sign);
}

std::size_t characters(std::string_view text)
{
    std::size_t count = 0;
    for (; !text.empty(); ++count)
        calendar::takeCodePoint(text);
    return count;
}

void appendTwoDigits(std::string &out, long long value, const Digits &digits)
{
    appendNumber(out, value, 2, '0', digits);
}

enum class OtherCase { Upper, Lower };

// A text with the conversion's case and width: blanks before it, or zeros with 0.
void appendText(std::string &out, const Conversion &piece, std::string_view text,
                const LocaleNames &names, OtherCase otherCase = OtherCase::Upper,
                bool lower = false)
{
    std::string cased;
    lower = lower || (piece.otherCase && otherCase == OtherCase::Lower);
    if (lower || piece.upperCase || piece.otherCase) {
        cased = lower ? names.lowerCase(text) : names.upperCase(text);
        text = cased;
    }
    if (piece.padding != Padding::None && piece.width > 0) {
        const std::size_t length = characters(text);
        if (length < std::size_t(piece.width))
            out.append(std::size_t(piece.width) - length,
                       piece.padding == Padding::Zeros ? '0' : ' ');
    }
    out += text;
}

// HH:MM on the clock the moment is told by: its written zone's, else the local one.
void appendSunset(std::string &out, const Conversion &piece, const ShownDay &shown,
                  const LocaleNames &names, const Digits &digits)
{
    const std::optional<std::int64_t> sunset = shown.reckoning.sunsetOn(shown.moment.day);
    if (!sunset)
        return;
    const std::chrono::seconds timeOfDay = shown.moment.writtenOffset
            ? std::chrono::seconds{((*sunset + shown.moment.writtenOffset->count() * 60) % 86400
                                    + 86400)
                                   % 86400}
            : command_line::momentAt(*sunset).timeOfDay;
    appendText(out, piece, command_line::hoursAndMinutes(timeOfDay, digits), names);
}

// %z +0300 (one number, hhmm, as GNU date pads it: %_z is " +300"), %:z +03:00,
// %::z +03:00:00, %:::z +03 or +05:30: then the hours are the number that takes the flags,
// and whatever width the minutes and seconds leave.
void appendZone(std::string &out, const Conversion &piece, std::chrono::seconds offset,
                const Digits &digits)
{
    const Sign sign = offset.count() < 0 ? Sign::Minus : Sign::Plus;
    const long long total = std::abs(offset.count());
    const long long hours = total / 3600, minutes = total / 60 % 60, seconds = total % 60;
    if (piece.colons == 0) {
        appendField(out, piece, hours * 100 + minutes, 5, '0', digits, sign);
        return;
    }
    const int parts = piece.colons < 3 ? piece.colons : seconds ? 2 : minutes ? 1 : 0;
    std::string rest;
    if (parts >= 1) {
        rest += ':';
        appendTwoDigits(rest, minutes, digits);
    }
    if (parts == 2) {
        rest += ':';
        appendTwoDigits(rest, seconds, digits);
    }
    Conversion hoursOnly = piece;
    if (piece.width >= 0)
        hoursOnly.width = std::max(0, piece.width - int(characters(rest)));
    appendField(out, hoursOnly, hours, 3, '0', digits, sign);
    out += rest;
}

// %F with a width pads its year: %12F is 002024-03-11.
void appendIsoDate(std::string &out, const Conversion &piece, const CivilDate &civil,
                   const Digits &digits)
{
    Conversion year = piece;
    const bool usual = piece.padding == Padding::Usual || piece.padding == Padding::Zeros;
    year.width = piece.width >= 0 ? std::max(0, piece.width - 6) : usual ? 4 : 0;
    command_line::appendIsoDate(out, civil, digits, widthOf(year, 4), paddingOf(year, '0'));
}

// %N as GNU date writes it. Without a width, all nine digits (%_N aside, which takes nine as
// its width); with one, no more digits than the width and no zeros at their end, padded on
// the right: %3N is 120 for .12 but %-3N 12, and %12N 120000000000.
void appendNanoseconds(std::string &out, const Conversion &piece, long long nanoseconds,
                       const Digits &digits)
{
    std::string nine;
    appendNumber(nine, nanoseconds, 9, '0', Digits::Latin);
    if (piece.width < 0 && piece.padding != Padding::Blanks) {
        out += command_line::withDigits(nine, digits);
        return;
    }
    const int width = piece.width < 0 ? 9 : piece.width;
    std::size_t kept = std::size_t(std::min(width, 9));
    while (kept > 1 && nine[kept - 1] == '0')
        --kept;
    nine.resize(kept);
    out += command_line::withDigits(nine, digits);
    for (int i = int(kept); i < width && piece.padding != Padding::None; ++i) {
        if (piece.padding == Padding::Blanks)
            out += ' ';
        else
            digits.append(out, 0);
    }
}

// The weeks of the year: %U counts those from its first Sunday, %W from its first Monday,
// the days before them being week 0.
long long weekOfYear(const ShownDay &shown, std::chrono::weekday firstDay)
{
    const long long daysIntoWeek = (shown.weekday - firstDay).count();
    return (dayOfYear(shown) - 1 + 7 - daysIntoWeek) / 7;
}

// The ISO week and its year (%V, %G): the week runs from Monday, and belongs to the year its
// Thursday falls in, so 30 December 2024 is in week 1 of 2025.
struct IsoWeek
{
    int year;
    long long week;
};
IsoWeek isoWeekOf(const ShownDay &shown)
{
    const calendar::Date thursday
            = shown.day + calendar::Days{4 - int(shown.weekday.iso_encoding())};
    const int year = shown.reckoning.civilDate(thursday, shown.civil.calendar).year;
    const calendar::Date newYear = shown.reckoning.monthStart(shown.civil.calendar, year, 1);
    return {year, (thursday - newYear).count() / 7 + 1};
}

// %c %x %X: the layouts of a date and a time of the C library's LC_TIME locale, in its words,
// as date(1) prints them: it asks strftime for them with no flag but ^, and pads them as a
// text. A width counts characters, as everywhere in this program, where GNU's counts bytes.
void appendLocaleLayout(std::string &out, const Conversion &piece, const ShownDay &shown,
                        const command_line::ZonedMoment *zone, const LocaleNames &names,
                        const Digits &digits)
{
    std::tm time{};
    time.tm_year = shown.civil.year - 1900;
    time.tm_mon = shown.civil.month - 1;
    time.tm_mday = shown.civil.day;
    time.tm_wday = int(shown.weekday.c_encoding());
    time.tm_yday = dayOfYear(shown) - 1;
    const long long seconds = shown.moment.timeOfDay.count();
    time.tm_hour = int(seconds / 3600);
    time.tm_min = int(seconds / 60 % 60);
    time.tm_sec = int(seconds % 60);
    if (zone) {
        time.tm_gmtoff = long(zone->offset.count());
        time.tm_zone = zone->abbreviation.c_str();
    }
    // The blank first, as strftime's 0 means both an empty text and one that did not fit.
    const std::string layout = std::string(piece.upperCase ? " %^" : " %") + piece.letter;
    std::string text(128, '\0');
    std::size_t length = 0;
    while ((length = std::strftime(text.data(), text.size(), layout.c_str(), &time)) == 0
           && text.size() < 65536)
        text.resize(text.size() * 2);
    text.resize(length);
    if (!text.empty())
        text.erase(0, 1);
    Conversion widthOnly = piece;
    widthOnly.upperCase = widthOnly.otherCase = false;
    appendText(out, widthOnly, command_line::withDigits(std::move(text), digits), names);
}

// %D, GNU's own %m/%d/%y, whose flags reach its year alone: %-D is 01/01/0 in 2000.
void appendUsDate(std::string &out, const Conversion &piece, const CivilDate &civil,
                  const LocaleNames &names, const Digits &digits)
{
    std::string date;
    appendTwoDigits(date, civil.month, digits);
    date += '/';
    appendTwoDigits(date, civil.day, digits);
    date += '/';
    Conversion year = piece;
    year.width = -1;
    appendField(date, year, std::abs(civil.year) % 100, 2, '0', digits);
    appendText(out, piece, date, names);
}

// The conversions of the Gregorian year alone: its weeks and quarters, and the C library's
// layouts, whose names and numbers are those of Gregorian dates.
constexpr std::string_view WeekLetters = "UWVGgq", LayoutLetters = "cxXD";

bool isOneOf(char letter, std::string_view letters)
{
    return letters.find(letter) != std::string_view::npos;
}

using Subject = OutputFormat::Subject;

// %{days}: all the days between two dates, where %d gives those after the whole months.
constexpr std::string_view DaysName = "{days}";
constexpr char DaysLetter = '}';

// The conversions that print the time of day or the instant, not the day alone.
constexpr std::string_view ClockLetters = "HIklMSTRrpPszZcX";

bool isKnown(char letter, calendar::Calendar printed, Subject subject)
{
    if (subject == Subject::Elapsed)
        return isOneOf(letter, "Ymdnt%") || letter == DaysLetter;
    return letter == SunsetLetter || isOneOf(letter, "aAbBhCdeFHIjklmMnNpPrRsStTuwyYzZ%")
            || (printed == calendar::Calendar::Gregorian
                && (isOneOf(letter, WeekLetters) || isOneOf(letter, LayoutLetters)));
}

[[noreturn]] void unknownConversion(std::string_view written)
{
    throw UsageError(
            formatted(_("unknown conversion %s in the format"), quotedText(written).c_str()));
}

// Why a letter is not known: for some, that they print only Gregorian dates.
[[noreturn]] void refuseConversion(std::string_view written, char letter)
{
    if (isOneOf(letter, WeekLetters))
        throw UsageError(formatted(_("%s numbers the weeks or quarters of a Gregorian year, which "
                                     "have no meaning for a Hijri date"),
                                   quotedText(written).c_str()));
    if (isOneOf(letter, LayoutLetters))
        throw UsageError(formatted(_("%s is a Gregorian layout of the C library: write out the "
                                     "conversions you want, as in +%%-d/%%-m/%%Y"),
                                   quotedText(written).c_str()));
    unknownConversion(written);
}

Padding paddingNamed(char flag)
{
    return flag == '-' ? Padding::None : flag == '0' ? Padding::Zeros : Padding::Blanks;
}

// One conversion, from just past its '%'; `at` ends past its letter.
Conversion conversionAt(std::string_view format, std::size_t percent, std::size_t &at,
                        calendar::Calendar printed, Subject subject)
{
    Conversion piece;
    for (;
         at < format.size() && std::string_view("-_0^#").find(format[at]) != std::string_view::npos;
         ++at) {
        if (format[at] == '^')
            piece.upperCase = true;
        else if (format[at] == '#')
            piece.otherCase = true;
        else
            piece.padding = paddingNamed(format[at]); // the last one counts, as in GNU date
    }
    // Past the widest, the width stays one more: the message quotes the whole conversion.
    for (; at < format.size() && format[at] >= '0' && format[at] <= '9'; ++at)
        piece.width = std::min(std::max(piece.width, 0) * 10 + (format[at] - '0'), WidestField + 1);
    for (; at < format.size() && format[at] == ':'; ++at)
        ++piece.colons;
    if (format.substr(at).starts_with(SunsetName)) {
        at += SunsetName.size();
        piece.letter = SunsetLetter;
    } else if (format.substr(at).starts_with(DaysName)) {
        at += DaysName.size();
        piece.letter = DaysLetter;
    } else if (at < format.size()) {
        piece.letter = format[at++];
    }
    const std::string_view written = format.substr(percent, at - percent);
    if (piece.width > WidestField)
        throw UsageError(formatted(_("the width in %s is more than %d"),
                                   quotedText(written).c_str(), WidestField));
    if (piece.letter == 0)
        throw UsageError(formatted(_("the format ends in an unfinished conversion %s"),
                                   quotedText(written).c_str()));
    if (!isKnown(piece.letter, printed, subject))
        refuseConversion(written, subject == Subject::Moment ? piece.letter : 0);
    if (piece.colons > 0 && (piece.letter != 'z' || piece.colons > 3))
        unknownConversion(written);
    return piece;
}

} // namespace

bool OutputFormat::showsSunset() const
{
    return std::ranges::any_of(
            m_pieces, [](const Conversion &piece) { return piece.letter == SunsetLetter; });
}

bool OutputFormat::showsTheClock() const
{
    return std::ranges::any_of(
            m_pieces, [](const Conversion &piece) { return isOneOf(piece.letter, ClockLetters); });
}

void OutputFormat::appendElapsed(std::string &out, const command_line::Elapsed &elapsed,
                                 const Digits &digits) const
{
    for (const Conversion &piece : m_pieces) {
        switch (piece.letter) {
        case 0:
            out += piece.literal;
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '%':
            out += '%';
            break;
        case 'Y':
            appendField(out, piece, elapsed.months / 12, 0, '0', digits);
            break;
        case 'm':
            appendField(out, piece, elapsed.months % 12, 0, '0', digits);
            break;
        case 'd':
            appendField(out, piece, elapsed.rest.count(), 0, '0', digits);
            break;
        case DaysLetter:
            appendField(out, piece, elapsed.days.count(), 0, '0', digits);
            break;
        }
    }
}

OutputFormat::OutputFormat(std::string_view format, calendar::Calendar printed, Subject subject)
{
    for (std::size_t at = 0; at < format.size();) {
        const std::size_t percent = format.find('%', at);
        if (percent != at) {
            m_pieces.push_back({.literal = std::string(format.substr(at, percent - at))});
            at = percent;
            continue;
        }
        at = percent + 1;
        m_pieces.push_back(conversionAt(format, percent, at, printed, subject));
    }
}

void OutputFormat::appendTo(std::string &out, const ShownDay &shown, const LocaleNames &names,
                            const Digits &digits) const
{
    using command_line::NameWidth;
    const CivilDate &civil = shown.civil;
    std::optional<command_line::ZonedMoment> zone; // the time zone's rules, asked once
    const auto zoned = [&]() -> const command_line::ZonedMoment & {
        if (!zone)
            zone = command_line::zoned(shown.moment);
        return *zone;
    };
    const long long seconds = shown.moment.timeOfDay.count();
    const long long hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
    const long long hour12 = hour % 12 == 0 ? 12 : hour % 12;
    const auto dayPeriod = [&]() -> const std::string & { return names.dayPeriod(hour >= 12); };
    for (const Conversion &piece : m_pieces) {
        switch (piece.letter) {
        case 0:
            out += piece.literal;
            break;
        case 'A':
            appendText(out, piece, names.weekday(shown.weekday), names);
            break;
        case 'a':
            appendText(out, piece, names.weekday(shown.weekday, NameWidth::Abbreviated), names);
            break;
        case 'B':
            appendText(out, piece, names.month(civil.calendar, civil.month), names);
            break;
        case 'b':
        case 'h':
            appendText(out, piece, names.month(civil.calendar, civil.month, NameWidth::Abbreviated),
                       names);
            break;
        case 'p':
            appendText(out, piece, dayPeriod(), names, OtherCase::Lower);
            break;
        case 'P':
            appendText(out, piece, dayPeriod(), names, OtherCase::Lower, true);
            break;
        case 'Z':
            appendText(out, piece, command_line::withDigits(zoned().abbreviation, digits), names,
                       OtherCase::Lower);
            break;
        case 'n':
            appendText(out, piece, "\n", names);
            break;
        case 't':
            appendText(out, piece, "\t", names);
            break;
        case '%':
            appendText(out, piece, "%", names);
            break;
        case 'T':
        case 'R':
        case 'r': {
            std::string time;
            appendTwoDigits(time, piece.letter == 'r' ? hour12 : hour, digits);
            time += ':';
            appendTwoDigits(time, minute, digits);
            if (piece.letter != 'R') {
                time += ':';
                appendTwoDigits(time, second, digits);
            }
            if (piece.letter == 'r') {
                time += ' ';
                time += dayPeriod();
            }
            appendText(out, piece, time, names);
            break;
        }
        case 'F':
            appendIsoDate(out, piece, civil, digits);
            break;
        case 'z':
            appendZone(out, piece, zoned().offset, digits);
            break;
        case 'N':
            appendNanoseconds(out, piece, shown.moment.fraction.count(), digits);
            break;
        case 'c':
        case 'X': // a locale's time may name its zone, as en_US's does
            appendLocaleLayout(out, piece, shown, &zoned(), names, digits);
            break;
        case 'x':
            appendLocaleLayout(out, piece, shown, nullptr, names, digits);
            break;
        case 'D':
            appendUsDate(out, piece, civil, names, digits);
            break;
        case 'U':
            appendField(out, piece, weekOfYear(shown, std::chrono::Sunday), 2, '0', digits);
            break;
        case 'W':
            appendField(out, piece, weekOfYear(shown, std::chrono::Monday), 2, '0', digits);
            break;
        case 'V':
            appendField(out, piece, isoWeekOf(shown).week, 2, '0', digits);
            break;
        case 'G':
            appendField(out, piece, isoWeekOf(shown).year, 4, '0', digits);
            break;
        case 'g':
            appendField(out, piece, std::abs(isoWeekOf(shown).year) % 100, 2, '0', digits);
            break;
        case 'q':
            appendField(out, piece, (civil.month + 2) / 3, 1, '0', digits);
            break;
        case 'd':
            appendField(out, piece, civil.day, 2, '0', digits);
            break;
        case 'e':
            appendField(out, piece, civil.day, 2, ' ', digits);
            break;
        case 'm':
            appendField(out, piece, civil.month, 2, '0', digits);
            break;
        case 'Y':
            appendField(out, piece, civil.year, 4, '0', digits);
            break;
        case 'C':
            appendField(out, piece, civil.year / 100, 2, '0', digits);
            break;
        case 'y':
            appendField(out, piece, std::abs(civil.year) % 100, 2, '0', digits);
            break;
        case 'j':
            appendField(out, piece, dayOfYear(shown), 3, '0', digits);
            break;
        case 'u':
            appendField(out, piece, shown.weekday.iso_encoding(), 1, '0', digits);
            break;
        case 'w':
            appendField(out, piece, shown.weekday.c_encoding(), 1, '0', digits);
            break;
        case 'H':
            appendField(out, piece, hour, 2, '0', digits);
            break;
        case 'k':
            appendField(out, piece, hour, 2, ' ', digits);
            break;
        case 'I':
            appendField(out, piece, hour12, 2, '0', digits);
            break;
        case 'l':
            appendField(out, piece, hour12, 2, ' ', digits);
            break;
        case 'M':
            appendField(out, piece, minute, 2, '0', digits);
            break;
        case 'S':
            appendField(out, piece, second, 2, '0', digits);
            break;
        case 's':
            appendField(out, piece, zoned().unixSeconds, 1, '0', digits);
            break;
        case SunsetLetter:
            appendSunset(out, piece, shown, names, digits);
            break;
        }
    }
}

} // namespace taqwim_date
