#pragma once

#include "keeping.h"
#include "moment.h"

#include "calendar/civil_date.h"
#include "calendar/valid_date.h"

#include <map>
#include <optional>
#include <vector>

// How one run counts the days: the Gregorian calendar, and the Hijri one as the user's
// community keeps it (keeping.h): ICU's reckoning of its choice, with the month starts it
// recorded, moved by whole days (--adjust), its day beginning at midnight or at sunset. The
// one place a Hijri date is made: reading a date, converting it, the grids, the occasions
// and the calendar files all ask the run's reckoning.
namespace command_line {

using calendar::Calendar;
using calendar::CivilDate;
using calendar::Date;

class Reckoning final : public calendar::CivilCalendars
{
public:
    // Umm al-Qura, moved by the shift: with 1 every day takes the Hijri date Umm al-Qura gives
    // the next day, so every Hijri month begins a day earlier.
    explicit Reckoning(int hijriShift = 0);
    // Throws SettingsError where the recorded starts would give a month fewer than 29 days or
    // more than 30.
    explicit Reckoning(Keeping keeping);
    // The readable days refer to the reckoning they were worked out by.
    Reckoning(const Reckoning &) = delete;
    Reckoning &operator=(const Reckoning &) = delete;

    // Throw calendar::DateError (OutOfRange) far outside the years either calendar accepts.
    CivilDate civilDate(Date date, Calendar calendar) const override;
    std::optional<Date> dateOf(const CivilDate &civil) const override;
    int lastDayOfMonth(Calendar calendar, int year, int month) const override;
    // The month's first day; month 13 is the first of the next year.
    Date monthStart(Calendar calendar, int year, int month) const;

    // The day whose Hijri date a moment has: its own, or where the day begins at sunset and
    // the moment is an instant (the clock's, @SECONDS, a file's time) past the sunset of its
    // day, the next. A date written with a time of day keeps the Hijri date of its daytime.
    Date hijriDayOf(const Moment &moment) const;
    // The instants the sun sets and rises on a day, where the place is known.
    std::optional<std::int64_t> sunsetOn(Date day) const;
    std::optional<std::int64_t> sunriseOn(Date day) const;

    // The days a date written in numbers may name: 1 January 1 (Julian) to the last day of
    // 9999 AH, so that every date the programs print reads back.
    const calendar::AcceptedDays &readableDays() const { return m_readable; }

    const Keeping &keeping() const { return m_keeping; }

private:
    // The first day of a Hijri month by ICU's reckoning and the shift, before any record.
    Date reckonedStart(int year, int month) const;
    Date hijriMonthStart(int year, int month) const;
    // The same for a month counted as year * 12 + month - 1.
    Date monthStartAt(int index) const;
    void applyRecords();
    // Throws SettingsError for a start far from the reckoning's, or one the record before it
    // leaves no room for.
    void refuseUnlikely(const MonthRecord &record, const MonthRecord *earlier) const;
    void fitMonths(const std::vector<MonthRecord> &records);
    void boundMovedDays();

    Keeping m_keeping;
    // The months the records move: each recorded one, and the few after it whose starts they
    // push to keep the months before them 29 or 30 days long. By year * 12 + month - 1.
    std::map<int, Date> m_moved;
    // The days whose Hijri dates the records may change: from the earliest start they move
    // to a month past the latest; a long column of dates passes the others by.
    Date m_firstMoved = Date::fromDays(0), m_pastMoved = Date::fromDays(0);
    calendar::AcceptedDays m_readable;
};

} // namespace command_line
