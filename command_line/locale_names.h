#pragma once

#include "calendar/civil_date.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

// The names of the months and weekdays, and the marks of the morning and the afternoon, in
// the language a user reads dates in, for the command-line programs (%A, %B and their kin in
// taqwim-date, the heads of taqwim-cal's grids). Arabic gets the window's own names
// (calendar/date_names.h) on every ICU version; any other language the names ICU has for it,
// which differ between ICU versions as CLDR grows; a language ICU does not know gets English.
namespace command_line {

using calendar::Calendar;

namespace detail {
struct NameTable;
struct ElapsedWords;
} // namespace detail

enum class NameWidth {
    Wide, // "Monday", "Ramadan": %A, %B
    Abbreviated, // "Mon", "Ram.": %a, %b
    Short, // weekdays only, "Mo": a column of a month's grid (months give Abbreviated)
    Narrow, // "M" (months give Abbreviated)
};

class LocaleNames
{
public:
    // An ICU locale id, such as "tr_TR", "ms" or "ar_EG"; "" is English. ICU's tables are
    // read on the first name asked for, once for each calendar.
    explicit LocaleNames(std::string_view locale);
    ~LocaleNames();
    LocaleNames(const LocaleNames &) = delete;
    LocaleNames &operator=(const LocaleNames &) = delete;

    // The language's own script, as ICU names it ("Arab", "Latn").
    const std::string &script() const { return m_script; }

    const std::string &month(Calendar calendar, int month, NameWidth width = NameWidth::Wide) const;
    const std::string &weekday(std::chrono::weekday weekday,
                               NameWidth width = NameWidth::Wide) const;
    // AM or PM, in the language's own words.
    const std::string &dayPeriod(bool afternoon) const;
    // The era of our time ("AH", "هـ", "Hicri"), or the one before it where ICU names it on
    // every version it may run with: the Gregorian one ("BC"), not the Hijri one (nothing).
    const std::string *eraName(Calendar calendar, bool beforeTheEra) const;
    // The language's own comma: "،" where it is written in the Arabic script.
    const std::string &comma() const { return m_comma; }

    // A time in whole years, months and days, in the language's words from ICU: "34 years,
    // 1 month, 2 days", without the parts that are none (all of them: "0 days"). Counts are
    // taken whole, without their sign; digits Latin and ungrouped, for withDigits().
    std::string elapsedWords(std::int64_t years, std::int64_t months, std::int64_t days) const;
    // "Islamic Calendar", "التقويم الهجري", "Miladi Takvim".
    const std::string &calendarName(Calendar calendar) const;

    // By the language's own rules: Turkish "i" becomes "İ".
    std::string upperCase(std::string_view text) const;
    std::string lowerCase(std::string_view text) const;

private:
    const detail::NameTable &table(Calendar calendar) const;
    const detail::ElapsedWords &elapsed() const;

    std::string m_locale; // as ICU reads it
    bool m_arabic = false; // the window's names
    std::string m_script;
    std::string m_comma;
    mutable std::array<std::once_flag, 2> m_read;
    mutable std::array<std::unique_ptr<detail::NameTable>, 2> m_tables;
    mutable std::once_flag m_elapsedRead;
    mutable std::unique_ptr<detail::ElapsedWords> m_elapsed;
};

} // namespace command_line
