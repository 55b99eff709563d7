#pragma once

#include "moment.h"
#include "reckoning.h"

#include "calendar/civil_date.h"
#include "calendar/date_error.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// Reading a DATE as people write it, wherever the programs take one (taqwim-date's -d and
// each line of -f, taqwim-cal's --from and --until):
//   2024-03-11  2024/03/11  2024.03.11  20240311      the year first: year, month, day
//   11/3/2024   11-3-2024   11.3.2024                 the year last: day, month, year
// with the year in four digits (a shorter one is refused, never guessed), or a leading '-'
// for the years before the era as the programs print them (-640-05-16); digits 0-9, ٠-٩ or
// ۰-۹; blanks around the numbers and the invisible marks of copied Arabic text passed over.
// An ISO time may follow, after 'T' or a blank (10:00, 10:00:30.5, 10:00Z, 10:00+03:00,
// 10:00 UTC): it is the time of day the moment keeps, and never moves the day written; a
// time the local clock skipped is refused. And the words today, yesterday, tomorrow and now,
// with a time or without, and @SECONDS since 1970 (the day of that instant on the local
// clock). Words that move the day may come before or after (date_phrase.h).
namespace command_line {

// What is wrong with the text itself; calendar::DateFault says what is wrong with a date
// written in numbers that names no day.
enum class DateTextFault {
    Empty,
    Shape, // no date of any form
    MixedSeparators, // 2024-03/11
    FieldMissing, // 2024--11: field() says which
    FieldNotANumber,
    ShortYear, // 11/03/24
    YearInTheMiddle, // 03/2024/11
    MonthFirstHere, // 2024-30-11: the year first, so the month comes second
    DayFirstHere, // 03/30/2024: the year last, so the day comes first
    TimeAlone, // 10:00
    TimeShape,
    NoSuchTime, // 25:00, or a zone of +25:00
    SecondsShape, // @ without a number of seconds
    NoSuchZone, // +25:00
    UnknownWord, // 2024-03-11 x: word() says which
    WrongWeekday, // fri 2024-03-11, a Monday: word() is the weekday written
    SkippedTime, // 02:30 on the night the clocks went from 02:00 to 03:00: jump() says when
    SkippedDay, // a day the local clock went past whole, as Kiritimati's 1994-12-31
};

class DateTextError : public std::runtime_error
{
public:
    using Fault = std::variant<DateTextFault, calendar::DateFault>;

    DateTextError(DateTextFault fault, const calendar::CivilDate &written = {},
                  calendar::DateField field = calendar::DateField::Day);
    // A date in numbers that names no day the run takes.
    explicit DateTextError(const calendar::DateError &noSuchDay);

    // What a fault says more of.
    DateTextError &about(std::string word);
    DateTextError &atJump(std::int64_t unixSeconds);
    DateTextError &readAsEightDigits();

    const Fault &fault() const { return m_fault; }
    const std::string &word() const { return m_word; }
    // The instant the local clock jumped forward at, over the time or day written.
    std::int64_t jump() const { return m_jump; }
    // Eight digits in a row, read as YYYYMMDD.
    bool eightDigits() const { return m_eightDigits; }
    // The field a FieldMissing or FieldNotANumber fault is about.
    calendar::DateField field() const { return m_field; }
    // The date as written, as far as it was read; its calendar is always the one asked for.
    const calendar::CivilDate &written() const { return m_written; }

private:
    Fault m_fault;
    calendar::DateField m_field = calendar::DateField::Day;
    calendar::CivilDate m_written;
    std::string m_word;
    std::int64_t m_jump = 0;
    bool m_eightDigits = false;
};

struct DateReading
{
    calendar::Calendar calendar = calendar::Calendar::Gregorian; // of a date in numbers
    const Reckoning &reckoning; // the run's, which a date in numbers names its day by
    std::function<Moment()> now = currentMoment; // for the words
};

// Throws DateTextError for a text that names no day, or a time the local clock skipped.
Moment readDate(std::string_view text, const DateReading &reading);

// A moment whose time the local clock may not have shown (the midnight of a day that began
// later, a time carried to another day) as the first instant from that time on. Throws
// DateTextError (SkippedDay) for a day the local clock went past whole.
Moment settledOnLocalClock(Moment moment);

// The moment of an instant on the local clock, as @SECONDS reads it. Throws DateTextError
// (OutOfRange) for an instant whose day no DATE may name.
Moment readableMomentAt(std::int64_t unixSeconds, std::chrono::nanoseconds fraction,
                        const DateReading &reading);

// "invalid date '⁨11/03/24⁩': write the year with four digits, as in 2024", in the user's
// language. The reading is needed for the days a DATE may name in its calendar.
std::string dateProblem(std::string_view text, const DateTextError &error,
                        const DateReading &reading);

} // namespace command_line
