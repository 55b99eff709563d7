#pragma once

#include "calendar/civil_date.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The words of a DATE that move the day it names, as date(1) reads them, before or after the
// date itself (which may be left out for now):
//   +40 days, -3 weeks, 2 months, 1 year      counts, with or without their sign; a unit
//                                               alone is one of it (fortnight, day ago)
//   3 days ago                                 "ago" turns the count before it around
//   next month, last year, this week           a count of one, minus one or none
//   next friday, last fri, this friday          the weekday after, before, or the coming one
//   friday                                      the coming Friday, today if it is one; with a
//                                               date, the weekday that date must fall on
//   2 hijri months, 1 gregorian year           months and years of the calendar named; without
//                                               it, of the calendar the dates are read in (-H)
// Words are English, as date(1)'s, without regard to case.
namespace command_line {

// Letters compared as ASCII without case: "Today", "NOW".
bool isWord(std::u32string_view text, std::string_view word);

// What a word stands for, by a table of them.
struct NamedValue
{
    std::string_view name;
    int value;
};
std::optional<int> valueNamed(std::u32string_view word, std::span<const NamedValue> names);

struct DayMove
{
    // Whole months in each calendar, indexed by calendar::Calendar; years are twelve.
    std::int64_t months[2] = {0, 0};
    std::int64_t days = 0;
    std::optional<std::chrono::weekday> weekday;
    int weekdayOrdinal = 0; // next: 1, last: -1, this or none: 0
    bool bareWeekday = false; // "friday", "fri,": to check a date written with it

    bool movesMonths() const { return months[0] != 0 || months[1] != 0; }
};

struct DatePhrase
{
    // The date itself, with its time: a date in numbers, a word such as tomorrow, @SECONDS;
    // empty for now.
    std::u32string_view date;
    DayMove move;
    bool moves = false; // any of the words above was written
};

// Takes the words above off either end of a DATE whose blanks are spaces. A word the reader
// would not know in the date itself, and a second weekday, are left in the date, for its
// reader to refuse.
DatePhrase phraseOf(std::u32string_view text, calendar::Calendar calendar);

} // namespace command_line
