#pragma once

#include "calendar/civil_date.h"
#include "calendar/valid_date.h"

// How one run counts the days: the Gregorian calendar, and the Hijri one of Umm al-Qura moved
// by whole days (--adjust) for the countries that begin their months a day or two apart from
// it. The one place a Hijri date is moved: reading a date, converting it, the grids, the
// occasions and the calendar files all ask the run's reckoning.
namespace command_line {

using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;

class Reckoning final : public calendar::CivilCalendars
{
public:
    // With a shift of 1 every day takes the Hijri date Umm al-Qura gives the next day, so
    // every Hijri month begins a day later.
    explicit Reckoning(int hijriShift = 0);
    // The readable days refer to the reckoning they were worked out by.
    Reckoning(const Reckoning &) = delete;
    Reckoning &operator=(const Reckoning &) = delete;

    // Throw calendar::DateError (OutOfRange) far outside the years either calendar accepts.
    CivilDate civilDate(Date date, Calendar calendar) const override;
    std::optional<Date> dateOf(const CivilDate &civil) const override;
    int lastDayOfMonth(Calendar calendar, int year, int month) const override;
    // The month's first day; month 13 is the first of the next year.
    Date monthStart(Calendar calendar, int year, int month) const;

    // The days a date written in numbers may name: 1 January 1 (Julian) to the last day of
    // 9999 AH as Umm al-Qura has it, so that every date the programs print reads back.
    const calendar::AcceptedDays &readableDays() const { return m_readable; }

private:
    int m_hijriShift;
    calendar::AcceptedDays m_readable;
};

} // namespace command_line
